#pragma once

// The holdings file of the desktop: a file of its own beside the settings file, which
// never carries the holdings. It holds the holdings' JSON (simulator/holdings_json.h) and
// is written as the settings file is: a temporary file in the same folder, flushed and
// renamed over the old one, so that it is whole or untouched.
//
// The load is LoadHoldingsFile (search/holdings_text.h), beside the JSON reader.
//
// A file that cannot be read (damaged, edited by hand, of a later version) is never
// replaced unseen: the faces use "everything owned" meanwhile and say why, and the first
// save keeps its bytes beside it as "<file>.damaged" before writing the new holdings.

#include <string>
#include <string_view>
#include <utility>

#include "simulator/holdings.h"

// The holdings file beside `settingsPath`: its name with the extension replaced by
// "-holdings.json" ("kestrel-simulator.ini" -> "kestrel-simulator-holdings.json").
std::string HoldingsFilePath(const std::string& settingsPath);

// The file's text: the holdings' JSON and a line end.
std::string HoldingsFileText(const THoldings& holdings);

struct HoldingsFile {
    explicit HoldingsFile(std::string path = {}) : Path(std::move(path)) {}

    std::string Path;
    THoldings Holdings;  // what the faces use: everything owned when the file is missing or damaged
    // Why the file was not used, for the player ("<path> の持ち物を読めません: ..."), or
    // empty.
    std::string Problem;
    // The bytes of a damaged file, kept beside it by the first save.
    std::string DamagedText;
    bool Damaged = false;
    // A file that could not even be opened: the first save moves it aside instead.
    bool Unreadable = false;
};

constexpr std::string_view kDamagedSuffix = ".damaged";

// Writes `holdings` to `file.Path`, creating its folder, whole or not at all; a damaged
// file is first kept as "<path>.damaged" (then `file` is no longer damaged). Throws
// EWriteError ("<path> に書き込めません") and leaves the old file as it was.
void SaveHoldingsFile(HoldingsFile& file, const THoldings& holdings);

// Writes the holdings as a file of the player's choosing (an export), as the holdings
// file is written. Throws EWriteError.
void ExportHoldings(const std::string& path, const THoldings& holdings);
