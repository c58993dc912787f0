#pragma once

// The dialog "ビルド探索" described as data, as the main window is: its sections and
// controls in order, each with its object name, caption, hint, the query field it sets
// and that field's limits; the answer table's columns; and every text the dialog shows
// as a search goes. The window, the page at full width and the page's touch layout each
// render this one description, so a caption, a limit or a message is written once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/query_limits.h"
#include "search/search_parts.h"

enum class DialogKind : uint8_t {
    Section,   // a framed group: Caption; the controls after it up to the next belong to it
    Choice,    // a drop-down: Choices shown, Values as the query names them
    PartRow,   // a row of part toggles under Caption: the parts of Group
    Toggle,    // a check box; a Number that names it in Switch is usable only while it is on
    Number,    // a whole number within Limit, Suffix after it
    Button,    // Default: the button Enter presses
    Progress,  // the search's progress
    Status,    // one line: what the search is doing or found
    Message,   // why nothing was found, or what went wrong
    Answers,   // the table of answers: Columns
    Changes,   // the changes of the picked answer or curve step
    Curve,     // the trade-off curve
};

struct DialogControl {
    DialogKind Kind = DialogKind::Status;
    std::string Name;     // object name in the window, element id in the page
    std::string Caption;  // shown text; for a Number its label where it has one
    std::string Hint;
    std::string AccessibleName;
    std::string Field;  // the query field it sets: "character", "min.pow", "budget", ...
    std::vector<std::string> Choices;
    std::vector<std::string> Values;
    std::optional<QueryLimit> Limit;
    std::string Suffix;
    int32_t Initial = 0;  // a Number's value, a Toggle's state (1: on), a Choice's row
    int32_t Step = 1;
    std::string Switch;  // a Number: the Toggle that makes it usable
    PartGroup Group = PartGroup::Wear;
    bool Default = false;
};

struct SearchDialogDef {
    std::string Title;
    std::vector<DialogControl> Controls;
    std::vector<std::string> Columns;  // the answer table, left to right
};

// The dialog, built once.
const SearchDialogDef& SearchDialogForm();

// A control by name, or nullptr.
const DialogControl* FindDialogControl(std::string_view name);

// Every text the dialog shows besides its controls' captions. "{0}", "{1}", ... stand for
// the figures a face puts in (DialogText fills them).
enum class DialogTextId : uint8_t {
    Running,         // the search runs, nothing found yet
    SoFar,           // {0}: answers found so far, not proved
    Proved,          // {0} answers, {1} nodes, {2} seconds
    NoneFound,       // nothing meets the conditions: {0} nodes, {1} seconds
    Cancelling,      // asked to stop
    CancelledKept,   // stopped with {0} answers, not proved
    Cancelled,       // stopped with nothing found
    Failed,          // the query could not be searched
    Stale,           // the query changed since the answers shown were found
    CurrentRow,      // the first row: the selection the search started from
    CurrentChanges,  // its changes column
    CurrentPicked,   // the changes box with the first row picked
    ChangesTitle,    // the changes box with nothing picked
    ChangesOf,       // {0}: the answer's rank
    StepChangesOf,   // {0} PP, {1} value
    ApplyHint,       // how to apply, with a mouse
    ApplyHintTouch,  // how to apply, on a touch screen
    NoChange,        // an answer that changes nothing
    Applied,         // {0}: what was applied (an answer's rank or a curve step)
    CurveTitle,      // {0}: the objective
    CurveLeastPP,    // the least-PP objective has no curve
    CurveEmpty,      // no step
    CurveStep,       // {0} PP, {1} objective, {2} value: a step's hint
    WearHint,        // {0}: the characters that have a wear slot
    ShownCharacter,  // {0}: the shown page's character
    Unsupported,     // the browser cannot run a search
    AcquiredLine,    // {0}: a thing not owned that the picked answer needs
    Gain,            // {0} the gain over the best from what is owned, signed, {1} its unit
    GainPP,          // {0}: the PP an answer saves against the best from what is owned
    GainPPMore,      // {0}: the PP an answer costs beyond the best from what is owned
    GainNone,        // nothing from what is owned meets the conditions
    OwnedBest,       // {0} the best value from what is owned alone, {1} its unit
    OwnedNone,       // nothing from what is owned alone meets the conditions
    NoHoldings,      // the view of what to get next with no holdings recorded
};
constexpr int kDialogTextCount = 34;

// The value of the choice "SearchAcquire" that sets no limit ("acquire": null), and the
// number the view of what to get next ("distinct": "acquired") searches with, whatever
// that choice shows: one thing at a time.
constexpr std::string_view kAcquireAnyValue = "null";
constexpr int32_t kNextToGetAcquire = 1;

std::string_view DialogTextKey(DialogTextId id);  // "running", "soFar", ...
// The text with {0}, {1}, ... replaced by `args` in order.
std::string DialogText(DialogTextId id, const std::vector<std::string>& args = {});

// The figure with its digits grouped by three ("157,204,064"), as the status shows nodes.
std::string GroupedDigits(uint64_t value);

// The description as JSON for the page, with what changes with the selection: the shown
// page, per character its wear slots in page order, and the figures a minimum that is
// off shows (the current build's, by minimum name).
//   {"title", "controls": [{"kind", "name", "caption", "hint", "accessibleName", "field",
//    "choices", "values", "limit": {"low", "high", "refusal"} | null, "suffix",
//    "initial", "step", "switch", "group", "default"}], "columns": [...],
//    "acquireAny", "nextToGetAcquire",
//    "texts": {"running": ..., ...}, "parts": [{"key", "group", "caption",
//    "anyCaption", "owners"}], "groups": [captions], "shown": page or -1,
//    "characters": [{"caption", "rows": [keys]}], "defaults": {"pow": ..., ...}}
std::string SearchDialogJson(int32_t shownPage, const std::vector<int32_t>& minimumDefaults);
