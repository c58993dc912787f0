#include "search/holdings_text.h"

#include <filesystem>

#include "json/json_reader.h"
#include "search/search.h"
#include "settings/settings_store.h"

namespace {

// A holdings text is a few kilobytes; a bound keeps a stray file from being read whole.
constexpr size_t kMaxHoldingsText = 1 << 20;

}  // namespace

THoldings HoldingsFromJson(std::string_view text) {
    if (text.size() > kMaxHoldingsText) {
        throw EHoldingsError("持ち物: 長すぎます");
    }
    json::Value value;
    try {
        value = json::Parse(text);
    } catch (const json::ParseError& error) {
        throw EHoldingsError(holdings_json::Cat("持ち物: ", error.what()));
    }
    return HoldingsFromJsonValue(value);
}

HoldingsFile LoadHoldingsFile(const std::string& path) {
    HoldingsFile file(path);
    const FileStore store(path);
    const StoreContents stored = store.Read();
    const auto damaged = [&](const std::string& reason) {
        file.Holdings = THoldings{};
        file.Damaged = true;
        file.DamagedText = stored.Text;
        file.Problem = holdings_json::Cat(store.Name(), " の持ち物を読めません (", reason, ")");
    };
    if (!stored.Readable) {
        damaged("ファイルを開けません");
        file.Unreadable = true;
    } else if (!stored.Text.empty() || std::filesystem::exists(path)) {
        try {
            file.Holdings = HoldingsFromJson(stored.Text);
        } catch (const ESimError& error) {
            damaged(error.what());
        }
    }
    return file;
}

THoldings ImportHoldings(const std::string& path) {
    const StoreContents stored = FileStore(path).Read();
    if (!stored.Readable || (stored.Text.empty() && !std::filesystem::exists(path))) {
        throw EHoldingsError("ファイルを開けません");
    }
    return HoldingsFromJson(stored.Text);
}
