#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sim_record.h"
#include "simulator/holdings.h"
#include "simulator/lists.h"

// What picking an entry of an open list would change, worked out on a copy of the
// simulator: the figures of the final group that a player weighs an entry by, old and
// new as the window would show them. The shown simulator and the settings are never
// touched.

enum class PreviewFigure : uint8_t {
    Pow,  // Label_LastPow .. Label_LastCur
    Ctrl,
    Exa,
    Spin,
    Cur,
    Penalty,         // Label18 and Label19: the control and accuracy lost to power
    DistanceNormal,  // Label22
};

struct PreviewLine {
    PreviewFigure Figure = PreviewFigure::Pow;
    std::string Old;  // the label's text now
    std::string New;  // its text after the pick

    friend bool operator==(const PreviewLine&, const PreviewLine&) = default;
};

struct PreviewResult {
    std::vector<PreviewLine> Lines;  // only the figures that change, in the window's order
    std::string Error;               // the message of the error the pick raises, or empty

    friend bool operator==(const PreviewResult&, const PreviewResult&) = default;
};

// Works previews out on a scratch simulator of its own, so that a face that previews
// entry after entry reuses its memory.
class Previewer {
public:
    // The pick of `entry` in `list` on a copy of `sim`; the club list is picked as
    // through the open list: its opening's ComboBox2DropDown (already run on `sim`, and
    // whose error was already shown), then the pick and ClubChange.
    PreviewResult Preview(const TSimulator& sim, ListRef list, int32_t entry);

private:
    TSimulator scratch_;
};

PreviewResult PreviewPick(const TSimulator& sim, ListRef list, int32_t entry);

// The text a face shows: one line per figure, e.g. "パワー 32 → 34"; "変化なし" when
// nothing changes; for a pick that fails, the error's message as its message box says it.
std::string PreviewText(const PreviewResult& preview);

// The same for an entry of `list` in the player's holdings: an entry not owned says so in
// a line before the figures; an owned one (and every entry while everything is owned)
// shows the text above unchanged.
std::string PreviewText(const PreviewResult& preview, const THoldings& holdings, ListRef list,
                        int32_t entry);
