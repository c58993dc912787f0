#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "form/form.h"
#include "json/json_writer.h"

namespace {

constexpr std::string_view kAnchorNames[] = {"Left", "Right", "Fixed"};
constexpr std::string_view kAlignNames[] = {"Left", "Center", "Right"};
constexpr std::string_view kCursorNames[] = {"Default", "Help", "PointingHand", "HelpWhenHinted"};

// A colour as "#rrggbb", or null.
void WriteColour(json::Writer& json, std::string_view key, const std::optional<Rgb>& colour) {
    json.Key(key);
    if (!colour) {
        json.Null();
        return;
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour->R, colour->G, colour->B);
    json.String(text);
}

void WriteWidget(json::Writer& json, const FormWidget& w) {
    json.BeginObject();
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
    json.Key("font");
    json.BeginObject();
    json.Field("family", FontFamilyName(w.Font.Family));
    json.Field("pixelSize", w.Font.PixelSize);
    json.Field("bold", w.Font.Bold);
    json.EndObject();
    WriteColour(json, "textColour", w.TextColour);
    WriteColour(json, "background", w.Background);
    json.Field("cursor", kCursorNames[static_cast<int>(w.Cursor)]);
    json.Field("text", w.Text);
    json.Field("hint", w.Hint);
    json.Key("items");
    json.BeginArray();
    for (const std::string& item : w.Items) {
        json.String(item);
    }
    json.EndArray();
    json.Field("visibleRows", w.VisibleRows);
    json.Field("max", w.Max);
    json.Field("editName", w.EditName);
    json.Field("accessibleName", w.AccessibleName);
    json.Field("accessibleDescription", w.AccessibleDescription);
    json.Key("bind");
    json.BeginObject();
    json.Field("field", FieldName(w.Bind.Field));
    json.Field("chara", static_cast<int>(w.Bind.Chara));
    json.Field("index", static_cast<int>(w.Bind.Index));
    json.EndObject();
    json.Field("focusControl", w.FocusControl);
    json.EndObject();
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
    json::Writer json;
    json.BeginObject();
    json.Key("widgets");
    json.BeginArray();
    for (const FormWidget& w : MainForm().Widgets) {
        WriteWidget(json, w);
    }
    json.EndArray();
    json.EndObject();
    return json.Take();
}
