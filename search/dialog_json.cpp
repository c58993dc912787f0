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

class Writer {
public:
    std::string Out;

    void Key(std::string_view key) {
        Comma();
        AppendJsonString(Out, key);
        Out += ':';
        first_ = true;
    }
    void String(std::string_view text) {
        Comma();
        AppendJsonString(Out, text);
    }
    void Int(int64_t value) {
        Comma();
        Out += std::to_string(value);
    }
    void Bool(bool value) {
        Comma();
        Out += value ? "true" : "false";
    }
    void Null() {
        Comma();
        Out += "null";
    }
    void Open(char bracket) {
        Comma();
        Out += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        Out += bracket;
        first_ = false;
    }
    void Strings(const std::vector<std::string>& texts) {
        Open('[');
        for (const std::string& text : texts) {
            String(text);
        }
        Close(']');
    }

private:
    void Comma() {
        if (!first_) {
            Out += ',';
        }
        first_ = false;
    }
    bool first_ = true;
};

void WriteControl(Writer& w, const DialogControl& c) {
    w.Open('{');
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
    w.Strings(c.Choices);
    w.Key("values");
    w.Strings(c.Values);
    w.Key("limit");
    if (c.Limit) {
        w.Open('{');
        w.Key("low");
        w.Int(c.Limit->Low);
        w.Key("high");
        w.Int(c.Limit->High);
        w.Key("refusal");
        w.String(QueryRefusal(c.Field, *c.Limit));
        w.Close('}');
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
    w.Close('}');
}

void WriteParts(Writer& w) {
    w.Key("parts");
    w.Open('[');
    for (int part = 0; part < kSearchPartCount; ++part) {
        w.Open('{');
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
        w.Close('}');
    }
    w.Close(']');
    w.Key("groups");
    w.Open('[');
    for (int g = 0; g < kPartGroupCount; ++g) {
        w.String(PartGroupCaption(static_cast<PartGroup>(g)));
    }
    w.Close(']');
}

void WriteCharacters(Writer& w) {
    w.Key("characters");
    w.Open('[');
    for (const TCharaDef& def : Roster()) {
        w.Open('{');
        w.Key("caption");
        w.String(def.Caption);
        w.Key("rows");
        w.Open('[');
        for (const TWearSlot slot : def.PageRows) {
            w.String(WearSlotKey(slot));
        }
        w.Close(']');
        w.Close('}');
    }
    w.Close(']');
}

}  // namespace

std::string SearchDialogJson(int32_t shownPage, const std::vector<int32_t>& minimumDefaults) {
    const SearchDialogDef& def = SearchDialogForm();
    Writer w;
    w.Open('{');
    w.Key("title");
    w.String(def.Title);
    w.Key("controls");
    w.Open('[');
    for (const DialogControl& control : def.Controls) {
        WriteControl(w, control);
    }
    w.Close(']');
    w.Key("columns");
    w.Strings(def.Columns);
    w.Key("texts");
    w.Open('{');
    for (int t = 0; t < kDialogTextCount; ++t) {
        const auto id = static_cast<DialogTextId>(t);
        w.Key(DialogTextKey(id));
        w.String(DialogText(id, {"{0}", "{1}", "{2}"}));
    }
    w.Close('}');
    WriteParts(w);
    w.Key("shown");
    w.Int(shownPage >= 0 && shownPage < CharaCount ? shownPage : -1);
    WriteCharacters(w);
    w.Key("defaults");
    w.Open('{');
    for (size_t m = 0; m < minimumDefaults.size(); ++m) {
        w.Key(MinimumName(static_cast<int>(m)));
        w.Int(minimumDefaults[m]);
    }
    w.Close('}');
    w.Close('}');
    return w.Out;
}
