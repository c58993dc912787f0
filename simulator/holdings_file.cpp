#include "simulator/holdings_file.h"

#include <filesystem>

#include "engine/errors.h"
#include "settings/settings_store.h"
#include "simulator/holdings_json.h"

std::string HoldingsFilePath(const std::string& settingsPath) {
    std::filesystem::path path(settingsPath);
    const std::string stem = path.stem().string();
    return path.replace_filename(stem + "-holdings.json").string();
}

std::string HoldingsFileText(const THoldings& holdings) {
    return HoldingsJson(holdings) + "\n";
}

void SaveHoldingsFile(HoldingsFile& file, const THoldings& holdings) {
    FileStore store(file.Path, FileStore::MissingFolder::Create);
    const std::string aside = file.Path + std::string(kDamagedSuffix);
    if (file.Damaged && file.Unreadable) {
        std::error_code ec;
        std::filesystem::rename(file.Path, aside, ec);
        if (ec) {
            throw EWriteError(store.Name());
        }
    } else if (file.Damaged) {
        FileStore(aside).Replace(file.DamagedText);
    }
    store.Replace(HoldingsFileText(holdings));
    file.Damaged = false;
    file.Unreadable = false;
    file.DamagedText.clear();
    file.Problem.clear();
    file.Holdings = holdings;
}

void ExportHoldings(const std::string& path, const THoldings& holdings) {
    FileStore(path).Replace(HoldingsFileText(holdings));
}
