// The module the page loads: the form description and the page's calls into WebFace,
// over the settings in the browser's local storage.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "form/form.h"
#include "local_storage_store.h"
#include "search/search_json.h"
#include "web_face.h"

namespace {

// The name of the stored settings in the messages, and the export's file name.
constexpr char kStoreName[] = "kestrel-simulator.ini";
// The holdings' key, apart from the settings, named as the desktop's file beside the
// settings file; stored holdings that could not be read are kept under the second.
constexpr char kHoldingsName[] = "kestrel-simulator-holdings.json";
constexpr char kDamagedHoldingsName[] = "kestrel-simulator-holdings.json.damaged";

WebFace& Face() {
    static LocalStorageStore store(kStoreName);
    static LocalStorageStore holdings(kHoldingsName);
    static LocalStorageStore damaged(kDamagedHoldingsName);
    static WebFace face(store, holdings, damaged);
    return face;
}

std::string Start(std::string code) {
    return Face().Start(code);
}
std::string Pick(int widget, int index) {
    return Face().Pick(widget, index);
}
std::string Open(int widget) {
    return Face().Open(widget);
}
std::string Step(int widget, int delta) {
    return Face().Step(widget, delta);
}
std::string ShowPage(int page) {
    return Face().ShowPage(page);
}
std::string Click(int widget) {
    return Face().Click(widget);
}
std::string SaveOver() {
    return Face().SaveOver();
}
std::string Front() {
    return Face().Front();
}
std::string Reload() {
    return Face().Reload();
}
std::string Close() {
    return Face().Close();
}
// The bytes arrive as a Uint8Array, unchanged.
std::string Import(std::string bytes) {
    return Face().Import(bytes);
}
std::string ImportOver(std::string bytes) {
    return Face().ImportOver(bytes);
}
std::string ShareCode() {
    return Face().ShareCode();
}
std::string OpenLink(std::string code) {
    return Face().OpenLink(code);
}
std::string Paste(std::string text) {
    return Face().Paste(text);
}
std::string ApplyBuild(std::string code) {
    return Face().ApplyBuild(code);
}
std::string SearchForm() {
    return Face().SearchForm();
}
// The search itself, for the page's worker: `progress` is called with the share done
// (0..1) now and then, `found` with the answer's JSON of the best answers so far (not
// proved) of a long search. The worker stops a search by ending itself.
std::string SearchJson(std::string query, emscripten::val progress, emscripten::val found) {
    SearchControl control;
    control.Progress = [&progress](double done) { progress(done); };
    control.Found = [&found](const SearchResult& soFar) { found(ResultJson(soFar)); };
    return SearchAnswerJson(query, &control);
}
std::string Undo() {
    return Face().Undo();
}
std::string Redo() {
    return Face().Redo();
}
// Only the tip's text: called for every highlighted row.
std::string Preview(int widget, int entry) {
    return Face().Preview(widget, entry);
}
std::string StoreName() {
    return kStoreName;
}
std::string HoldingsForm() {
    return Face().HoldingsForm();
}
std::string Holdings() {
    return Face().Holdings();
}
std::string OpenHoldings() {
    return Face().OpenHoldings();
}
std::string KeepHoldings(std::string json) {
    return Face().KeepHoldings(json);
}
std::string KeepHoldingsOver(std::string json) {
    return Face().KeepHoldingsOver(json);
}
std::string HoldingsCode(std::string json) {
    return Face().HoldingsCode(json);
}
std::string ReadHoldingsCode(std::string code) {
    return Face().ReadHoldingsCode(code);
}
std::string ExportHoldings(std::string json) {
    return Face().ExportHoldings(json);
}
// The file's bytes arrive as a Uint8Array, unchanged.
std::string ImportHoldings(std::string bytes) {
    return Face().ImportHoldings(bytes);
}
std::string HoldingsName() {
    return kHoldingsName;
}
std::string StoredHoldings() {
    return Face().StoredHoldingsText();
}

// A copy of the stored bytes as a Uint8Array.
emscripten::val StoredBytes() {
    const std::string text = Face().StoredText();
    const emscripten::val view = emscripten::val(
        emscripten::typed_memory_view(text.size(), reinterpret_cast<const uint8_t*>(text.data())));
    return view.call<emscripten::val>("slice");
}

}  // namespace

EMSCRIPTEN_BINDINGS(kestrel) {
    emscripten::function("formJson", &FormJson);
    emscripten::function("start", &Start);
    emscripten::function("pick", &Pick);
    emscripten::function("open", &Open);
    emscripten::function("step", &Step);
    emscripten::function("showPage", &ShowPage);
    emscripten::function("click", &Click);
    emscripten::function("saveOver", &SaveOver);
    emscripten::function("front", &Front);
    emscripten::function("reload", &Reload);
    emscripten::function("close", &Close);
    emscripten::function("importSettings", &Import);
    emscripten::function("importSettingsOver", &ImportOver);
    emscripten::function("shareCode", &ShareCode);
    emscripten::function("openLink", &OpenLink);
    emscripten::function("paste", &Paste);
    emscripten::function("applyBuild", &ApplyBuild);
    emscripten::function("searchForm", &SearchForm);
    emscripten::function("searchJson", &SearchJson);
    emscripten::function("undo", &Undo);
    emscripten::function("redo", &Redo);
    emscripten::function("preview", &Preview);
    emscripten::function("storeName", &StoreName);
    emscripten::function("storedBytes", &StoredBytes);
    emscripten::function("holdingsForm", &HoldingsForm);
    emscripten::function("holdings", &Holdings);
    emscripten::function("openHoldings", &OpenHoldings);
    emscripten::function("keepHoldings", &KeepHoldings);
    emscripten::function("keepHoldingsOver", &KeepHoldingsOver);
    emscripten::function("holdingsCode", &HoldingsCode);
    emscripten::function("readHoldingsCode", &ReadHoldingsCode);
    emscripten::function("exportHoldings", &ExportHoldings);
    emscripten::function("importHoldings", &ImportHoldings);
    emscripten::function("holdingsName", &HoldingsName);
    emscripten::function("storedHoldings", &StoredHoldings);
}
