#include "web_face.h"

#include <array>
#include <memory>

#include "characters/roster.h"
#include "engine/errors.h"
#include "form/binding.h"
#include "json/json_writer.h"
#include "search/search_json.h"
#include "search/search_request.h"
#include "simulator/build_code.h"
#include "simulator/holdings_form.h"
#include "simulator/lists.h"
#include "simulator/persistence.h"

namespace {

bool HasRunTimeParts(const TSimulator& sim, const FormWidget& w) {
    const Binding& b = w.Bind;
    return BoundValue(sim.State, b) != nullptr || BoundText(sim.Display, b) != nullptr ||
           BoundItems(sim.Display, b) != nullptr || BoundEnabled(sim.Display, b) != nullptr ||
           BoundHintOf(sim.Display, b).Text != nullptr;
}

}  // namespace

WebFace::WebFace(SettingsStore& store) : WebFace(store, store, store) {
    memoryHoldings_ = std::make_shared<std::array<MemoryStore, 2>>();
    holdingsStore_ = &(*memoryHoldings_)[0];
    damagedStore_ = &(*memoryHoldings_)[1];
}

WebFace::WebFace(SettingsStore& store, SettingsStore& holdingsStore, SettingsStore& damagedStore)
    : store_(store),
      form_(MainForm()),
      holdingsStore_(&holdingsStore),
      damagedStore_(&damagedStore) {
    for (size_t i = 0; i < form_.Widgets.size(); ++i) {
        if (HasRunTimeParts(sim_, form_.Widgets[i])) {
            shown_.push_back(static_cast<int>(i));
        }
    }
}

void WebFace::Run(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ESimError& error) {
        errors_.emplace_back(error.what());
    }
}

void WebFace::RunStep(const std::function<void()>& operation) {
    Run(operation);
    // What a failed change set before its error stays in the selection: a step as well.
    history_.Record(sim_);
}

std::string WebFace::Answer() {
    json::Writer json;
    json.BeginObject();
    json.Key("errors");
    json.BeginArray();
    for (const std::string& error : errors_) {
        json.String(error);
    }
    json.EndArray();
    errors_.clear();
    json.Field("hintPause", sim_.Display.HintPauseMs);
    json.Field("hintHide", sim_.Display.HintHidePauseMs);
    json.Field("undo", static_cast<int64_t>(history_.UndoSteps()));
    json.Field("redo", static_cast<int64_t>(history_.RedoSteps()));
    if (!ask_.empty()) {
        json.Field("ask", ask_);
        ask_.clear();
    }
    for (const auto& [key, value] : answerFields_) {
        json.Key(key);
        json.Raw(value);
    }
    answerFields_.clear();
    // Once holdings marked the fixed lists' rows, the rows go out once more unmarked when
    // everything is owned again.
    const bool marked = !OwnsEverything(holdings_);
    json.Key("view");
    json.Raw(ViewOf(marked || fixedRowsMarked_));
    fixedRowsMarked_ = marked;
    json.EndObject();
    return json.Take();
}

std::string WebFace::View() const {
    return ViewOf(!OwnsEverything(holdings_));
}

std::string WebFace::ViewOf(bool fixedRows) const {
    json::Writer json;
    json.BeginArray();
    for (const int index : shown_) {
        const FormWidget& w = form_.Widgets[static_cast<size_t>(index)];
        const Binding& b = w.Bind;
        json.BeginObject();
        json.Field("w", index);
        if (const int32_t* value = BoundValue(sim_.State, b)) {
            json.Field("v", *value);
        }
        if (w.Kind == WidgetKind::Spinner) {
            const int32_t* max = BoundMax(sim_.State, b);
            json.Field("m", max != nullptr ? *max : w.Max);
        }
        if (const bool* enabled = BoundEnabled(sim_.Display, b)) {
            json.Field("e", *enabled);
        }
        if (const std::string* text = BoundText(sim_.Display, b)) {
            json.Field("t", *text);
        }
        const BoundHint hint = BoundHintOf(sim_.Display, b);
        if (hint.Text != nullptr) {
            json.Field("h", hint.On == nullptr || *hint.On ? *hint.Text : std::string());
        }
        const std::vector<std::string>* items = BoundItems(sim_.Display, b);
        if (items == nullptr && fixedRows && w.Kind == WidgetKind::List && ListOfBinding(b)) {
            items = &w.Items;
        }
        if (items != nullptr) {
            const std::optional<ListRef> list =
                OwnsEverything(holdings_) ? std::nullopt : ListOfBinding(b);
            const std::vector<std::string> marked =
                list ? MarkedEntries(*items, holdings_, *list) : std::vector<std::string>();
            json.Key("i");
            json.BeginArray();
            for (const std::string& item : list ? marked : *items) {
                json.String(item);
            }
            json.EndArray();
        }
        json.EndObject();
    }
    json.EndArray();
    return json.Take();
}

void WebFace::ShowLink(std::string_view buildCode) {
    Run([this, buildCode] {
        const PlannedBuild build = DecodeBuild(buildCode);
        showingLink_ = true;
        ShowBuild(sim_, build);
    });
}

std::string WebFace::Start(std::string_view buildCode) {
    showingLink_ = false;
    Run([this] { Load(); });
    LoadHoldings();
    history_.Start(sim_);
    if (!buildCode.empty()) {
        ShowLink(buildCode);
        history_.Record(sim_);
    }
    return Answer();
}

// A code that cannot be read leaves the page as it is, unsaved changes included.
std::string WebFace::OpenLink(std::string_view buildCode) {
    try {
        DecodeBuild(buildCode);
    } catch (const ESimError& error) {
        errors_.emplace_back(error.what());
        return Answer();
    }
    Run([this] { Load(); });
    ShowLink(buildCode);
    history_.Record(sim_);
    return Answer();
}

std::string WebFace::Pick(int widget, int index) {
    if (widget < 0 || static_cast<size_t>(widget) >= form_.Widgets.size()) {
        return Answer();
    }
    const Binding& b = form_.Widgets[static_cast<size_t>(widget)].Bind;
    SetBoundValue(sim_.State, b, index);
    switch (OperationOnChange(b)) {
        case UserOperation::Recalculate:
            RunStep([this] { ComboBox1Change(sim_); });
            break;
        case UserOperation::ClubChange:
            RunStep([this] { ClubChange(sim_); });
            break;
        default:
            break;
    }
    return Answer();
}

std::string WebFace::Open(int widget) {
    if (widget >= 0 && static_cast<size_t>(widget) < form_.Widgets.size() &&
        OperationOnOpen(form_.Widgets[static_cast<size_t>(widget)].Bind) ==
            UserOperation::ClubListOpen) {
        Run([this] { ComboBox2DropDown(sim_); });
    }
    return Answer();
}

std::string WebFace::Step(int widget, int delta) {
    if (widget < 0 || static_cast<size_t>(widget) >= form_.Widgets.size() || delta == 0) {
        return Answer();
    }
    const FormWidget& w = form_.Widgets[static_cast<size_t>(widget)];
    const int32_t* position = BoundValue(sim_.State, w.Bind);
    if (w.Kind != WidgetKind::Spinner || position == nullptr) {
        return Answer();
    }
    const int32_t* boundMax = BoundMax(sim_.State, w.Bind);
    const int32_t max = boundMax != nullptr ? *boundMax : w.Max;
    const int32_t next = *position + (delta > 0 ? 1 : -1);
    if (next < 0 || next > max) {
        return Answer();
    }
    SetBoundValue(sim_.State, w.Bind, next);
    RunStep([this] { ComboBox1Change(sim_); });
    return Answer();
}

std::string WebFace::ShowPage(int page) {
    if (page >= 0 && page < CharaCount && page != sim_.State.TabIndex) {
        sim_.State.TabIndex = page;
        RunStep([this] { ComboBox1Change(sim_); });
    }
    return Answer();
}

std::string WebFace::Click(int widget) {
    if (widget < 0 || static_cast<size_t>(widget) >= form_.Widgets.size()) {
        return Answer();
    }
    switch (OperationOnChange(form_.Widgets[static_cast<size_t>(widget)].Bind)) {
        case UserOperation::FullTune:
            RunStep([this] { ClubFullTune(sim_); });
            break;
        case UserOperation::Save:
            if (StoredChangedElsewhere()) {
                ask_ = "overwrite";
                break;
            }
            return SaveOver();
        case UserOperation::Revert:
            return Reload();
        default:
            break;
    }
    return Answer();
}

std::string WebFace::ShareCode() const {
    return EncodeBuild(sim_.State);
}

std::string WebFace::Paste(std::string_view text) {
    RunStep([this, text] { PasteBuild(sim_, text); });
    return Answer();
}

std::string WebFace::ApplyBuild(std::string_view code) {
    RunStep([this, code] {
        const PlannedBuild build = DecodeBuild(code);
        TSimulator shown = sim_;
        ShowBuild(shown, build);
        sim_ = std::move(shown);
    });
    return Answer();
}

std::string WebFace::Undo() {
    Run([this] { history_.Undo(sim_); });
    return Answer();
}

std::string WebFace::Redo() {
    Run([this] { history_.Redo(sim_); });
    return Answer();
}

std::string WebFace::Preview(int widget, int entry) {
    if (widget < 0 || static_cast<size_t>(widget) >= form_.Widgets.size()) {
        return {};
    }
    const std::optional<ListRef> list =
        ListOfBinding(form_.Widgets[static_cast<size_t>(widget)].Bind);
    if (!list || entry < 0 || entry >= EntryCount(sim_, *list)) {
        return {};
    }
    return PreviewText(previewer_.Preview(sim_, *list, entry), holdings_, *list, entry);
}
