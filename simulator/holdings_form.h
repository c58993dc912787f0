#pragma once

// The dialog "持ち物" described as data, as the main window and the search dialog are:
// its controls with their object names and texts, its pages (one per character, then
// the lists every page shares), each list with its entries, and every text the dialog
// shows. The window and the page render this one description; the edits the dialog
// makes (a list or everything owned or not, the counts, the filter) are the functions
// below, so both faces do them alike. The dialog edits a copy of the holdings: "OK"
// keeps it, "キャンセル" drops it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/holdings.h"
#include "simulator/lists.h"

enum class HoldingsControlKind : uint8_t {
    Filter,   // a line of text: only the entries containing it are shown
    Button,   // a button of the whole dialog
    Count,    // what is owned of everything: HoldingsTextId::Count
    Pages,    // the pages of lists, one tab each
    Message,  // the outcome of the last import, export or code
};

struct HoldingsControl {
    HoldingsControlKind Kind = HoldingsControlKind::Button;
    std::string Name;  // object name in the window, element id in the page
    std::string Caption;
    std::string Hint;
    bool Default = false;  // the button Enter presses
    bool Closes = false;   // "OK" and "キャンセル", at the bottom
};

// One list of the dialog: a wear slot of a page (Chara >= 0) or a kind every page shares.
struct HoldingsList {
    std::string Key;      // "3.Top", "CharaCard": part of the object names
    std::string Caption;  // the row's caption on its page ("上", "キャディ")
    int32_t Chara = -1;
    int Slot = 0;  // slot position (the page's slot order)
    HeldKind Kind = HeldKind::CharaCard;
    std::vector<std::string> Entries;  // the catalogue's texts, in list order
};

struct HoldingsPage {
    std::string Caption;  // the character's tab caption, or "共通"
    std::vector<HoldingsList> Lists;
};

struct HoldingsDialogDef {
    std::string Title;
    std::vector<HoldingsControl> Controls;
    std::vector<HoldingsPage> Pages;
};

// The dialog, built once.
const HoldingsDialogDef& HoldingsDialogForm();

// The object names of a list's parts: its entries' box, its "すべて" and "なし" buttons and
// its count.
std::string HoldingsListName(const HoldingsList& list);
std::string HoldingsListAllName(const HoldingsList& list);
std::string HoldingsListNoneName(const HoldingsList& list);
std::string HoldingsListCountName(const HoldingsList& list);

enum class HoldingsTextId : uint8_t {
    Count,           // {0} owned of {1}
    Unowned,         // the mark beside an entry not owned, in the window's lists
    PreviewUnowned,  // the preview's line for an entry not owned
    NoneAlways,      // the hint of a "なし" entry: always owned
    ListAll,         // a list's "すべて"
    ListNone,        // a list's "なし"
    FilterHint,      // the filter's placeholder
    CodeCopied,      // the code is on the clipboard
    CodeRead,        // a code was read into the dialog
    Exported,        // {0}: the file written
    Imported,        // {0}: the file read
    ImportFailed,    // {0}: the file, {1}: why
    FileFilter,      // the file dialogs' filter
    ExportTitle,
    ImportTitle,
};
constexpr int kHoldingsTextCount = 15;

std::string_view HoldingsTextKey(HoldingsTextId id);  // "count", "unowned", ...
// The text with {0}, {1}, ... replaced by `args` in order.
std::string HoldingsText(HoldingsTextId id, const std::vector<std::string>& args = {});

// The dialog's edits and figures.
bool OwnsEntry(const THoldings& holdings, const HoldingsList& list, int32_t entry);
void SetEntryOwned(THoldings& holdings, const HoldingsList& list, int32_t entry, bool owned);
// Every entry of the list owned, or none but "なし".
void SetListOwned(THoldings& holdings, const HoldingsList& list, bool owned);
int32_t OwnedCount(const THoldings& holdings, const HoldingsList& list);
// Over every list of the dialog: how many entries are owned, of how many.
int32_t OwnedCount(const THoldings& holdings);
int32_t EntryTotal();
// Everything owned, or nothing but the "なし" entries.
THoldings HoldingsOfAll(bool owned);
// Whether an entry's text is shown under the filter: it contains the filter's text,
// ASCII letters of either case alike; an empty filter shows everything.
bool MatchesFilter(std::string_view entryText, std::string_view filter);

// The window's lists: whether the list's entry is owned (the level list and an entry
// outside the list: yes, nothing marks them), and the list's texts with the entries not
// owned marked. Holdings that own everything leave every text as it is.
bool OwnsListEntry(const THoldings& holdings, ListRef list, int32_t entry);
std::vector<std::string> MarkedEntries(const std::vector<std::string>& texts,
                                       const THoldings& holdings, ListRef list);

// The description as JSON for the page:
//   {"title", "controls": [{"kind", "name", "caption", "hint", "default", "closes"}],
//    "pages": [{"caption", "lists": [{"key", "caption", "chara", "slot", "kind",
//    "name", "allName", "noneName", "countName", "entries": [texts],
//    "none": [indices of "なし"]}]}], "texts": {"count": ..., ...}}
std::string HoldingsDialogJson();
