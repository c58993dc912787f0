#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "form/form.h"

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\n') {
            out += "\\n";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

namespace {

constexpr std::string_view kAnchorNames[] = {"Left", "Right", "Fixed"};
constexpr std::string_view kAlignNames[] = {"Left", "Center", "Right"};
constexpr std::string_view kCursorNames[] = {"Default", "Help", "PointingHand", "HelpWhenHinted"};

// Writes JSON text in one string, one value after the other; the caller places commas
// through Key and Next.
class JsonWriter {
public:
    std::string Out;

    void Key(std::string_view key) {
        Next();
        String(key);
        Out += ':';
        afterKey_ = true;
    }
    // A key with its value.
    template <class T>
    void Field(std::string_view key, const T& value) {
        Key(key);
        Value(value);
    }
    // A key with an object whose fields `fill` writes.
    template <class Fill>
    void Object(std::string_view key, Fill fill) {
        Key(key);
        Open('{');
        fill();
        Close('}');
    }
    void Open(char bracket) {
        Next();
        Out += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        Out += bracket;
        first_ = false;
    }
    void Value(std::string_view text) {
        Next();
        String(text);
    }
    void Value(int number) {
        Next();
        Out += std::to_string(number);
    }
    void Value(bool flag) {
        Next();
        Out += flag ? "true" : "false";
    }
    void Colour(const std::optional<Rgb>& colour) {
        Next();
        if (!colour) {
            Out += "null";
            return;
        }
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", colour->R, colour->G, colour->B);
        String(text);
    }

private:
    // A comma before every value but the first of its object or array.
    void Next() {
        if (afterKey_) {
            afterKey_ = false;
        } else if (!first_) {
            Out += ',';
        }
        first_ = false;
    }
    void String(std::string_view text) { AppendJsonString(Out, text); }

    bool first_ = true;
    bool afterKey_ = false;
};

void WriteWidget(JsonWriter& json, const FormWidget& w) {
    json.Open('{');
    json.Field("kind", KindName(w.Kind));
    json.Field("name", w.Name);
    json.Field("parent", w.Parent);
    json.Field("left", w.Left);
    json.Field("top", w.Top);
    json.Field("width", w.Width);
    json.Field("height", w.Height);
    json.Field("anchor", kAnchorNames[static_cast<int>(w.Anchor)]);
    json.Field("align", kAlignNames[static_cast<int>(w.Align)]);
    json.Field("leftAfter", w.LeftAfter);
    json.Field("fitMaxWidth", w.FitMaxWidth);
    json.Field("fitExtra", w.FitExtra);
    json.Object("font", [&] {
        json.Field("family", FontFamilyName(w.Font.Family));
        json.Field("pixelSize", w.Font.PixelSize);
        json.Field("bold", w.Font.Bold);
    });
    json.Key("textColour");
    json.Colour(w.TextColour);
    json.Key("background");
    json.Colour(w.Background);
    json.Field("cursor", kCursorNames[static_cast<int>(w.Cursor)]);
    json.Field("text", w.Text);
    json.Field("hint", w.Hint);
    json.Key("items");
    json.Open('[');
    for (const std::string& item : w.Items) {
        json.Value(item);
    }
    json.Close(']');
    json.Field("visibleRows", w.VisibleRows);
    json.Field("max", w.Max);
    json.Field("editName", w.EditName);
    json.Field("accessibleName", w.AccessibleName);
    json.Field("accessibleDescription", w.AccessibleDescription);
    json.Object("bind", [&] {
        json.Field("field", FieldName(w.Bind.Field));
        json.Field("chara", static_cast<int>(w.Bind.Chara));
        json.Field("index", static_cast<int>(w.Bind.Index));
    });
    json.Field("focusControl", w.FocusControl);
    json.Close('}');
}

}  // namespace

std::string_view KindName(WidgetKind kind) {
    constexpr std::string_view kNames[] = {"Form",    "GroupBox", "Label",       "List",
                                           "Spinner", "Button",   "PageControl", "Page"};
    static_assert(std::size(kNames) == static_cast<size_t>(WidgetKind::Page) + 1);
    return kNames[static_cast<int>(kind)];
}

std::string_view FieldName(BoundField field) {
    constexpr std::string_view kNames[] = {
        "None",       "Level",       "Page",           "EquipItem",     "CharaCard",
        "CaddieCard", "CharaSlotUp", "SpecialCard",    "Caddie",        "Club",
        "ClubSlotUp", "SlotLimit",   "CharaPPNeeded",  "CharaPPTotal",  "CaddieEffect",
        "ClubBase",   "ClubSlot",    "ClubPPNeeded",   "ClubPPTotal",   "StatCaption",
        "LastStat",   "Penalty",     "DistanceNormal", "DistancePower", "DistancePower2",
        "TotalPP",    "FullTune",    "Save",           "Revert"};
    static_assert(std::size(kNames) == static_cast<size_t>(BoundField::Revert) + 1);
    return kNames[static_cast<int>(field)];
}

std::string FormJson() {
    JsonWriter json;
    json.Open('{');
    json.Key("widgets");
    json.Open('[');
    for (const FormWidget& w : MainForm().Widgets) {
        WriteWidget(json, w);
    }
    json.Close(']');
    json.Close('}');
    return std::move(json.Out);
}
