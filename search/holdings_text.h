#pragma once

// Reading the holdings from text: JSON through the search's strict reader, and the
// holdings file of the desktop. (These sit with the reader; the rest of the holdings is
// in simulator/.)

#include <string>
#include <string_view>

#include "simulator/holdings_file.h"
#include "simulator/holdings_json.h"

// The holdings of a JSON text (simulator/holdings_json.h). Throws EHoldingsError: the
// text is no JSON, or the holdings are refused, with where.
THoldings HoldingsFromJson(std::string_view text);

// The holdings file at `path`. Missing: everything owned. Unreadable or refused: everything
// owned, Problem says why, and the file is kept as it is (Damaged).
HoldingsFile LoadHoldingsFile(const std::string& path);

// The holdings of a file the player chose (an import). Throws EHoldingsError: the file
// cannot be read, or its holdings are refused.
THoldings ImportHoldings(const std::string& path);
