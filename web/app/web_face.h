#pragma once

// The browser page's side of the core: every user action of the page arrives here as
// one call, runs the same core operation as the desktop window's matching slot, and
// answers with what the page must show. No browser code: the page's script and the
// settings store are the only parts that know the browser.
//
// Every call answers one JSON object:
//   {"errors": ["<message>", ...],   // each shown in the message box, followed by "."
//    "hintPause": <ms>, "hintHide": <ms>,  // the hint timing; 0 before the load
//    "undo": <steps>, "redo": <steps>,     // what undo and redo can go back and forth
//    "ask": "overwrite" | "load" | "importOver",  // only when the user must choose
//                                          // (see Click, Front and Import)
//    "view": [{"w": <widget index in MainForm()>, "v": <list index, spinner position or
//              page>, "m": <spinner maximum>, "e": <enabled>, "t": "<label text>",
//              "h": "<hint shown now>", "i": ["<list row>", ...]}, ...]}
// where a widget carries only the parts that change at run time. "view" lists every
// such widget, after an error too: what the operation wrote before it stopped stays.
// A list's rows carry the mark of the entries the player does not own.
//
// The holdings calls add their own fields before "view": "holdings" (the holdings'
// JSON, simulator/holdings_json.h), "problem" (why the stored holdings were not used),
// "code" (a holdings code), "text" (a holdings file's text), "kept" (true once a keep
// wrote), "holdingsChanged" (true when Front picked up another tab's holdings).

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/form.h"
#include "search/search.h"
#include "settings/settings_store.h"
#include "simulator/history.h"
#include "simulator/holdings.h"
#include "simulator/preview.h"
#include "simulator/simulator.h"

// The build search of a query in JSON (search/search_json.h) whose "build" is the
// current selection's code, on a simulator of its own that shows that build over empty
// settings (AnswerSearchRequest, as the command line does): the answer's JSON, or
// {"error": "<message>"} with the command line's refusal for a query that cannot be
// searched. Needs no page and no store, so a worker can run it.
std::string SearchAnswerJson(std::string_view queryJson, const SearchControl* control);

class WebFace {
public:
    // Holdings kept in memory only: the settings alone are stored.
    explicit WebFace(SettingsStore& store);
    // The holdings stored in `holdingsStore` (a key of their own, apart from the
    // settings); stored holdings that cannot be read are copied to `damagedStore` before
    // the first keep replaces them.
    WebFace(SettingsStore& store, SettingsStore& holdingsStore, SettingsStore& damagedStore);

    // The page opens: the load from the store, which starts the history; with a build
    // code (the link's fragment, empty for none) that build is shown over the stored
    // settings, which stay as they are until the user saves, as one step that undo takes
    // back to them. A code that cannot be read is reported and the stored settings stay
    // shown.
    std::string Start(std::string_view buildCode);
    // A link is opened on the open page: the load and the link's build as at the start,
    // as one step from what was shown before.
    std::string OpenLink(std::string_view buildCode);
    // A pick in list `widget` (in the open list or by a key on the closed list).
    std::string Pick(int widget, int index);
    // List `widget` opens.
    std::string Open(int widget);
    // Spinner `widget` stepped by one, up (delta > 0) or down; a step past either end
    // changes nothing and runs nothing, as a spinner does.
    std::string Step(int widget, int delta);
    // The user brings character page `page` (0..9) to the front.
    std::string ShowPage(int page);
    // Button `widget` clicked: full tune, save or revert. A save over stored settings
    // whose saved part (SavedPart) changed since this page last loaded or saved them
    // (another tab saved) writes nothing and asks "overwrite"; SaveOver() then saves.
    std::string Click(int widget);
    // The save, over whatever is stored now.
    std::string SaveOver();
    // The page comes back to the front: when another tab saved settings since this page
    // last loaded or saved them, and they were not offered since, asks "load". Holdings
    // another tab kept since this page last loaded or kept them are taken up at once
    // (the page keeps nothing unsaved of them) and the answer says "holdingsChanged".
    std::string Front();
    // The stored settings loaded, as the revert button loads them (one step).
    std::string Reload();
    // The page is hidden or closed: the active page is written (the window position
    // keys keep their stored values). While an unsaved build from a link is shown,
    // nothing is written.
    std::string Close();
    // A settings file the user picked, as its bytes. It replaces the stored settings
    // only when it loads without an error; otherwise the error is reported and the
    // stored settings are loaded again. A file that loads, over stored settings whose
    // saved part changed since this page last loaded or saved them (another tab saved),
    // writes nothing and asks "importOver", as the save asks; ImportOver() with the same
    // bytes then imports it.
    std::string Import(std::string_view bytes);
    // The import, over whatever is stored now.
    std::string ImportOver(std::string_view bytes);
    // The stored settings text, byte for byte (empty when nothing is stored).
    std::string StoredText() const;
    // The build code of the selection as shown.
    std::string ShareCode() const;
    // The user pastes a build code or a share link (whose code follows its '#'): the
    // build is shown as one step. A text without a readable code is reported and
    // changes nothing.
    std::string Paste(std::string_view text);
    // An answer of the build search is shown: its build code, as one step, as a paste is
    // shown but without the clipboard's messages. A code that cannot be shown changes
    // nothing.
    std::string ApplyBuild(std::string_view code);
    // The search dialog's description as JSON (search/dialog_form.h): its controls,
    // texts and limits, the shown page, the characters' wear slots and the figures the
    // minimums that are off show.
    std::string SearchForm() const;
    // Undo and redo of the user's changes; nothing happens when there is none.
    std::string Undo();
    std::string Redo();
    // What picking row `entry` of list `widget` would change, as the tip beside the
    // highlighted row shows it; empty for a widget that is no list. Worked out on a
    // copy: nothing shown or stored changes.
    std::string Preview(int widget, int entry);
    // What the page shows now, with no operation.
    std::string View() const;

    // ---- The holdings (web_face_holdings.cpp) ----
    // The dialog "持ち物" described (simulator/holdings_form.h).
    std::string HoldingsForm() const;
    // The holdings in use, as JSON: what the build search takes as the query's "owned".
    std::string Holdings() const;
    // The dialog opens: answers "holdings" and "problem", and notes the stored holdings
    // its keep will be asked over.
    std::string OpenHoldings();
    // The dialog's "OK" with the holdings it shows (JSON). Holdings another tab kept since
    // the dialog opened are not replaced unasked: nothing is written and the answer asks
    // "holdingsOverwrite"; KeepHoldingsOver() then writes. Holdings that cannot be read
    // are refused and nothing changes.
    std::string KeepHoldings(std::string_view json);
    std::string KeepHoldingsOver(std::string_view json);
    // The code of the holdings (JSON) as "code"; a code read as "holdings". What cannot be
    // read is reported and answers no holdings.
    std::string HoldingsCode(std::string_view json);
    std::string ReadHoldingsCode(std::string_view code);
    // The holdings (JSON) as a file's "text", and a file's bytes read as "holdings".
    std::string ExportHoldings(std::string_view json);
    std::string ImportHoldings(std::string_view bytes);
    // The stored holdings' text, byte for byte (empty when nothing is stored).
    std::string StoredHoldingsText() const;

    const TSimulator& Simulator() const { return sim_; }

private:
    void Run(const std::function<void()>& operation);
    // Runs a user change of the selection and records it as a step.
    void RunStep(const std::function<void()>& operation);
    void ShowLink(std::string_view buildCode);
    // The load and the save over the store, each noting the stored settings' saved part
    // as this page's own.
    void Load();
    void Save();
    // The saved part of the stored settings now; empty when the store cannot be read.
    std::optional<std::string> StoredPart() const;
    // Another page saved since this one last loaded or saved.
    bool StoredChangedElsewhere() const;
    // Whether settings `bytes` load without an error, tried on a copy of the selection;
    // with `report`, the error goes to the answer.
    bool ImportLoads(std::string_view bytes, bool report);
    std::string Answer();
    // The view; with `fixedRows`, the rows of the lists whose rows never change too, with
    // the marks of the holdings.
    std::string ViewOf(bool fixedRows) const;
    // The stored holdings loaded: anything that cannot be read leaves everything owned
    // and says why.
    void LoadHoldings();
    // Writes `holdings`, first copying stored holdings that cannot be read aside.
    void WriteHoldings(const THoldings& holdings);
    // Reads holdings JSON from the page; reports what cannot be read.
    std::optional<THoldings> HoldingsOf(std::string_view json);
    void AnswerField(std::string key, std::string json);

    SettingsStore& store_;
    TSimulator sim_;
    const FormDef& form_;
    std::vector<int> shown_;  // widgets with parts that change at run time
    std::vector<std::string> errors_;
    std::string ask_;  // the question of the answer, empty for none
    bool showingLink_ = false;
    // The saved part of the stored settings as this page last loaded or saved them, and
    // of the ones it last offered to load.
    std::optional<std::string> ownStored_;
    std::optional<std::string> offeredStored_;
    History history_;
    Previewer previewer_;

    // Stores of the holdings when none was given (shared, so that a moved face keeps
    // them where its pointers point).
    std::shared_ptr<std::array<MemoryStore, 2>> memoryHoldings_;
    SettingsStore* holdingsStore_;
    SettingsStore* damagedStore_;
    THoldings holdings_;
    std::string holdingsProblem_;
    // The stored holdings' bytes as this page last loaded or kept them, and when its
    // dialog opened; empty optional when the storage could not be read.
    std::optional<std::string> ownHoldings_;
    std::optional<std::string> dialogHoldings_;
    std::vector<std::pair<std::string, std::string>> answerFields_;
    bool fixedRowsMarked_ = false;  // the last answer's fixed list rows carried marks
};
