// The holdings dialog's description as JSON, for the page: the same controls, pages,
// lists and texts the window builds from.

#include "form/form.h"
#include "json/json_writer.h"
#include "simulator/holdings_form.h"

namespace {

constexpr std::string_view kKindNames[] = {"Filter", "Button", "Count", "Pages", "Message"};

void Field(std::string& out, std::string_view key, std::string_view text, bool first = false) {
    out += first ? "" : ",";
    AppendJsonString(out, key);
    out += ':';
    AppendJsonString(out, text);
}

void Number(std::string& out, std::string_view key, int64_t value) {
    out += ',';
    AppendJsonString(out, key);
    out += ':';
    out += std::to_string(value);
}

void WriteControl(std::string& out, const HoldingsControl& c) {
    out += '{';
    Field(out, "kind", kKindNames[static_cast<int>(c.Kind)], true);
    Field(out, "name", c.Name);
    Field(out, "caption", c.Caption);
    Field(out, "hint", c.Hint);
    out += c.Default ? ",\"default\":true" : ",\"default\":false";
    out += c.Closes ? ",\"closes\":true" : ",\"closes\":false";
    out += '}';
}

void WriteList(std::string& out, const HoldingsList& list) {
    out += '{';
    Field(out, "key", list.Key, true);
    Field(out, "caption", list.Caption);
    Number(out, "chara", list.Chara);
    Number(out, "slot", list.Chara >= 0 ? list.Slot : -1);
    Field(out, "kind", list.Chara >= 0 ? "" : HeldKindName(list.Kind));
    Field(out, "name", HoldingsListName(list));
    Field(out, "allName", HoldingsListAllName(list));
    Field(out, "noneName", HoldingsListNoneName(list));
    Field(out, "countName", HoldingsListCountName(list));
    out += ",\"entries\":[";
    std::string none;
    for (size_t e = 0; e < list.Entries.size(); ++e) {
        out += e == 0 ? "" : ",";
        AppendJsonString(out, list.Entries[e]);
        const auto entry = static_cast<int32_t>(e);
        const bool isNone = list.Chara >= 0 ? IsNoneEntry(list.Chara, list.Slot, entry)
                                            : IsNoneEntry(list.Kind, entry);
        if (isNone) {
            none += none.empty() ? "" : ",";
            none += std::to_string(e);
        }
    }
    out += "],\"none\":[";
    out += none;
    out += "]}";
}

}  // namespace

std::string HoldingsDialogJson() {
    const HoldingsDialogDef& def = HoldingsDialogForm();
    std::string out = "{";
    Field(out, "title", def.Title, true);
    out += ",\"controls\":[";
    for (size_t i = 0; i < def.Controls.size(); ++i) {
        out += i == 0 ? "" : ",";
        WriteControl(out, def.Controls[i]);
    }
    out += "],\"pages\":[";
    for (size_t p = 0; p < def.Pages.size(); ++p) {
        out += p == 0 ? "{" : ",{";
        Field(out, "caption", def.Pages[p].Caption, true);
        out += ",\"lists\":[";
        for (size_t l = 0; l < def.Pages[p].Lists.size(); ++l) {
            out += l == 0 ? "" : ",";
            WriteList(out, def.Pages[p].Lists[l]);
        }
        out += "]}";
    }
    out += "],\"texts\":{";
    for (int t = 0; t < kHoldingsTextCount; ++t) {
        const auto id = static_cast<HoldingsTextId>(t);
        Field(out, HoldingsTextKey(id), HoldingsText(id, {"{0}", "{1}"}), t == 0);
    }
    out += "}}";
    return out;
}
