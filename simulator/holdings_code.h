#pragma once

// Holdings codes: what the player owns as a short text to share, in the letters of the
// build codes (simulator/code_letters.h): the letter 'h' for the holdings of this
// layout, the packed lists and the check letters. A list owned whole costs one bit, so
// the code of a player who recorded nothing is 29 letters long.

#include <string>
#include <string_view>

#include "simulator/holdings.h"
#include "simulator/holdings_json.h"

constexpr std::string_view kHoldingsCodeDamaged = "持ち物コードが壊れています";
constexpr std::string_view kHoldingsCodeUnknownVersion = "持ち物コードはこの版では読めません";
constexpr std::string_view kNoHoldingsCode = "持ち物コードがありません";

std::string EncodeHoldings(const THoldings& holdings);

// Reads a code, with blanks around it. Throws EHoldingsError (one of the messages above)
// for anything that is not a whole code of a known layout; each holdings has exactly one
// code, so a code the encoder would not write is damaged too.
THoldings DecodeHoldings(std::string_view code);
