// The page's settings in the browser's storage, shared with the page's other tabs: the
// load and the save, which note the stored settings as this page's own so that a save,
// an import or a tab back in front over what another tab saved since asks first; the
// close, which writes only the active page; and the import of a settings file.

#include "engine/errors.h"
#include "simulator/persistence.h"
#include "web_face.h"

std::optional<std::string> WebFace::StoredPart() const {
    const StoreContents stored = store_.Read();
    if (!stored.Readable) {
        return std::nullopt;
    }
    return SavedPart(stored.Text);
}

// A store that cannot be read now tells nothing: the save goes on and reports it.
bool WebFace::StoredChangedElsewhere() const {
    const std::optional<std::string> now = StoredPart();
    return now && now != ownStored_;
}

void WebFace::Load() {
    ownStored_ = StoredPart();
    offeredStored_.reset();
    FormCreate(sim_, store_);
}

void WebFace::Save() {
    const std::optional<std::string> before = StoredPart();
    try {
        Button1Click(sim_, store_);
    } catch (const EWriteError&) {
        throw;  // nothing was written
    } catch (const ESimError&) {
        // Written, then the load after it stopped.
        if (StoredPart() != before) {
            ownStored_ = StoredPart();
            offeredStored_.reset();
        }
        throw;
    }
    ownStored_ = StoredPart();
    offeredStored_.reset();
}

std::string WebFace::SaveOver() {
    // No step: the file stays as saved, and undo goes on from here.
    showingLink_ = false;
    Run([this] { Save(); });
    history_.Follow(sim_);
    return Answer();
}

std::string WebFace::Reload() {
    showingLink_ = false;
    RunStep([this] { Load(); });
    return Answer();
}

std::string WebFace::Front() {
    const std::optional<std::string> now = StoredPart();
    if (now && now != ownStored_ && now != offeredStored_) {
        offeredStored_ = now;
        ask_ = "load";
    }
    const StoreContents holdings = holdingsStore_->Read();
    if (holdings.Readable && holdings.Text != ownHoldings_) {
        LoadHoldings();
        AnswerField("holdingsChanged", "true");
    }
    return Answer();
}

std::string WebFace::Close() {
    if (!showingLink_) {
        Run([this] { FormClose(sim_, store_); });
    }
    return Answer();
}

bool WebFace::ImportLoads(std::string_view bytes, bool report) {
    MemoryStore imported(store_.Name(), std::string(bytes));
    TSimulator trial = sim_;
    try {
        FormCreate(trial, imported);
        return true;
    } catch (const ESimError& error) {
        if (report) {
            errors_.emplace_back(error.what());
        }
        return false;
    }
}

// A file that does not load asks nothing: it replaces nothing.
std::string WebFace::Import(std::string_view bytes) {
    if (StoredChangedElsewhere() && ImportLoads(bytes, false)) {
        ask_ = "importOver";
        return Answer();
    }
    return ImportOver(bytes);
}

std::string WebFace::ImportOver(std::string_view bytes) {
    if (ImportLoads(bytes, true)) {
        Run([&] { store_.Replace(bytes); });
    }
    showingLink_ = false;
    // The imported selection is one step: undo shows the one before it again, over the
    // imported baselines, as after a save.
    RunStep([this] { Load(); });
    return Answer();
}

std::string WebFace::StoredText() const {
    return store_.Read().Text;
}
