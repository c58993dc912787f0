// The page's side of the holdings ("持ち物"): what the player owns, in a storage key of
// its own beside the settings (whose bytes never carry them), with the same care over
// other tabs as the settings' save, and the dialog's reads and writes of holdings JSON,
// codes and files.

#include "engine/errors.h"
#include "json/json_writer.h"
#include "search/holdings_text.h"
#include "simulator/holdings_code.h"
#include "simulator/holdings_file.h"
#include "simulator/holdings_form.h"
#include "web_face.h"

namespace {

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

// Whether stored holdings text would be refused by the load.
bool Unreadable(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    try {
        HoldingsFromJson(text);
        return false;
    } catch (const ESimError&) {
        return true;
    }
}

}  // namespace

void WebFace::AnswerField(std::string key, std::string json) {
    answerFields_.emplace_back(std::move(key), std::move(json));
}

// Nothing stored (or an empty text, which no keep writes) owns everything, as a missing
// file does on the desktop.
void WebFace::LoadHoldings() {
    const StoreContents stored = holdingsStore_->Read();
    holdings_ = THoldings{};
    holdingsProblem_.clear();
    ownHoldings_.reset();
    const auto damaged = [this](std::string_view reason) {
        holdingsProblem_ =
            holdings_json::Cat(holdingsStore_->Name(), " の持ち物を読めません (", reason, ")");
    };
    // A storage that cannot be reached at all is met as the settings meet it: nothing to
    // say at the start (the settings' save names it), only the dialog says why.
    if (!stored.Readable) {
        damaged("ストレージを読めません");
        return;
    }
    ownHoldings_ = stored.Text;
    if (stored.Text.empty()) {
        return;
    }
    try {
        holdings_ = HoldingsFromJson(stored.Text);
    } catch (const ESimError& error) {
        holdings_ = THoldings{};
        damaged(error.what());
        errors_.push_back(holdingsProblem_);
    }
}

// What is stored now decides: a text the load would refuse is copied aside whole before
// it is replaced, so that a keep never loses holdings the player may still want back;
// when the copy fails, nothing is replaced. A storage that cannot be read is not
// written either: what it holds is unknown.
void WebFace::WriteHoldings(const THoldings& holdings) {
    const StoreContents stored = holdingsStore_->Read();
    if (!stored.Readable) {
        throw EWriteError(holdingsStore_->Name());
    }
    if (Unreadable(stored.Text)) {
        damagedStore_->Replace(stored.Text);
    }
    const std::string text = HoldingsFileText(holdings);
    holdingsStore_->Replace(text);
    holdings_ = holdings;
    holdingsProblem_.clear();
    ownHoldings_ = text;
    dialogHoldings_.reset();
}

std::optional<THoldings> WebFace::HoldingsOf(std::string_view json) {
    try {
        return HoldingsFromJson(json);
    } catch (const ESimError& error) {
        errors_.emplace_back(error.what());
        return std::nullopt;
    }
}

std::string WebFace::HoldingsForm() const {
    return HoldingsDialogJson();
}

std::string WebFace::Holdings() const {
    return HoldingsJson(holdings_);
}

std::string WebFace::OpenHoldings() {
    const StoreContents stored = holdingsStore_->Read();
    dialogHoldings_ = stored.Readable ? std::optional<std::string>(stored.Text) : ownHoldings_;
    AnswerField("holdings", Holdings());
    AnswerField("problem", JsonString(holdingsProblem_));
    return Answer();
}

// Over the stored holdings the dialog opened with (or, unopened, those this page last
// loaded or kept); a keep that would write what is stored now asks nothing.
std::string WebFace::KeepHoldings(std::string_view json) {
    const std::optional<THoldings> holdings = HoldingsOf(json);
    if (!holdings) {
        return Answer();
    }
    const StoreContents stored = holdingsStore_->Read();
    const std::optional<std::string>& base = dialogHoldings_ ? dialogHoldings_ : ownHoldings_;
    if (stored.Readable && stored.Text != base && stored.Text != HoldingsFileText(*holdings)) {
        ask_ = "holdingsOverwrite";
        return Answer();
    }
    return KeepHoldingsOver(json);
}

std::string WebFace::KeepHoldingsOver(std::string_view json) {
    if (const std::optional<THoldings> holdings = HoldingsOf(json)) {
        try {
            WriteHoldings(*holdings);
            AnswerField("kept", "true");
        } catch (const ESimError& error) {
            errors_.emplace_back(error.what());
        }
    }
    return Answer();
}

std::string WebFace::HoldingsCode(std::string_view json) {
    if (const std::optional<THoldings> holdings = HoldingsOf(json)) {
        AnswerField("code", JsonString(EncodeHoldings(*holdings)));
    }
    return Answer();
}

std::string WebFace::ReadHoldingsCode(std::string_view code) {
    try {
        AnswerField("holdings", HoldingsJson(DecodeHoldings(code)));
    } catch (const ESimError& error) {
        errors_.emplace_back(error.what());
    }
    return Answer();
}

std::string WebFace::ExportHoldings(std::string_view json) {
    if (const std::optional<THoldings> holdings = HoldingsOf(json)) {
        AnswerField("text", JsonString(HoldingsFileText(*holdings)));
    }
    return Answer();
}

std::string WebFace::ImportHoldings(std::string_view bytes) {
    if (const std::optional<THoldings> holdings = HoldingsOf(bytes)) {
        AnswerField("holdings", HoldingsJson(*holdings));
    }
    return Answer();
}

std::string WebFace::StoredHoldingsText() const {
    return holdingsStore_->Read().Text;
}
