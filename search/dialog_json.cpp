// The search dialog's description as JSON, for the page: the same controls, texts and
// limits the window builds from, and the characters' wear slots.

#include "characters/roster.h"
#include "json/json_writer.h"
#include "search/dialog_form.h"
#include "search/search.h"

namespace {

constexpr std::string_view kKindNames[] = {"Section", "Choice",  "PartRow",  "Toggle",
                                           "Number",  "Button",  "Progress", "Status",
                                           "Message", "Answers", "Changes",  "Curve"};

// The strings as one array.
void Strings(json::Writer& w, const std::vector<std::string>& texts) {
    w.BeginArray();
    for (const std::string& text : texts) {
        w.String(text);
    }
    w.EndArray();
}

void WriteControl(json::Writer& w, const DialogControl& c) {
    w.BeginObject();
    w.Key("kind");
    w.String(kKindNames[static_cast<int>(c.Kind)]);
    w.Key("name");
    w.String(c.Name);
    w.Key("caption");
    w.String(c.Caption);
    w.Key("hint");
    w.String(c.Hint);
    w.Key("accessibleName");
    w.String(c.AccessibleName);
    w.Key("field");
    w.String(c.Field);
    w.Key("choices");
    Strings(w, c.Choices);
    w.Key("values");
    Strings(w, c.Values);
    w.Key("limit");
    if (c.Limit) {
        w.BeginObject();
        w.Key("low");
        w.Int(c.Limit->Low);
        w.Key("high");
        w.Int(c.Limit->High);
        w.Key("refusal");
        w.String(QueryRefusal(c.Field, *c.Limit));
        w.EndObject();
    } else {
        w.Null();
    }
    w.Key("suffix");
    w.String(c.Suffix);
    w.Key("initial");
    w.Int(c.Initial);
    w.Key("step");
    w.Int(c.Step);
    w.Key("switch");
    w.String(c.Switch);
    w.Key("group");
    w.Int(static_cast<int>(c.Group));
    w.Key("default");
    w.Bool(c.Default);
    w.EndObject();
}

void WriteParts(json::Writer& w) {
    w.Key("parts");
    w.BeginArray();
    for (int part = 0; part < kSearchPartCount; ++part) {
        w.BeginObject();
        w.Key("key");
        w.String(SearchPartName(part));
        w.Key("group");
        w.Int(static_cast<int>(SearchPartGroup(part)));
        w.Key("caption");
        w.String(SearchPartCaption(part, 0 <= part && part < kWearPartCount ? 0 : -1));
        w.Key("anyCaption");
        w.String(SearchPartCaption(part, -1));
        w.Key("any");
        w.Bool(PartShownFor(part, -1));
        w.Key("hint");
        w.String(part < kWearPartCount ? DialogText(DialogTextId::WearHint, {PartOwners(part)})
                                       : std::string());
        w.EndObject();
    }
    w.EndArray();
    w.Key("groups");
    w.BeginArray();
    for (int g = 0; g < kPartGroupCount; ++g) {
        w.String(PartGroupCaption(static_cast<PartGroup>(g)));
    }
    w.EndArray();
}

void WriteCharacters(json::Writer& w) {
    w.Key("characters");
    w.BeginArray();
    for (const TCharaDef& def : Roster()) {
        w.BeginObject();
        w.Key("caption");
        w.String(def.Caption);
        w.Key("rows");
        w.BeginArray();
        for (const TWearSlot slot : def.PageRows) {
            w.String(WearSlotKey(slot));
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace

std::string SearchDialogJson(int32_t shownPage, const std::vector<int32_t>& minimumDefaults) {
    const SearchDialogDef& def = SearchDialogForm();
    json::Writer w;
    w.BeginObject();
    w.Key("title");
    w.String(def.Title);
    w.Key("controls");
    w.BeginArray();
    for (const DialogControl& control : def.Controls) {
        WriteControl(w, control);
    }
    w.EndArray();
    w.Key("columns");
    Strings(w, def.Columns);
    w.Key("acquireAny");
    w.String(kAcquireAnyValue);
    w.Key("nextToGetAcquire");
    w.Int(kNextToGetAcquire);
    w.Key("texts");
    w.BeginObject();
    for (int t = 0; t < kDialogTextCount; ++t) {
        const auto id = static_cast<DialogTextId>(t);
        w.Key(DialogTextKey(id));
        w.String(DialogText(id, {"{0}", "{1}", "{2}"}));
    }
    w.EndObject();
    WriteParts(w);
    w.Key("shown");
    w.Int(shownPage >= 0 && shownPage < CharaCount ? shownPage : -1);
    WriteCharacters(w);
    w.Key("defaults");
    w.BeginObject();
    for (size_t m = 0; m < minimumDefaults.size(); ++m) {
        w.Key(MinimumName(static_cast<int>(m)));
        w.Int(minimumDefaults[m]);
    }
    w.EndObject();
    w.EndObject();
    return w.Take();
}
