#pragma once

// The main window described as data, the way a form file describes a form: every widget
// the window draws, in creation order (which is also the keyboard focus order), with
// its kind, object name, parent, place, font, colour, cursor, initial text, hint, list
// rows and what it shows of the selection. A face (the Qt window, the browser page)
// builds its widgets by walking MainForm() and binds them through `Binding` (see
// form/binding.h), with no code of its own per widget.
//
// Sizes are pixels at 96 dots per inch; a place is relative to the parent's client
// area, as the window has it. Texts are UTF-8; hints break lines with CR, as the core
// keeps them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class WidgetKind : uint8_t {
    Form,         // the window itself: Text is its caption
    GroupBox,     // a framed group: Text is its caption
    Label,        // a caption or an output label
    List,         // a pick-only drop-down list
    Spinner,      // a read-only number box with its up-down arrows (EditName)
    Button,       // a push button: Text is its caption
    PageControl,  // the character tabs; its pages follow it as children
    Page,         // one page of the page control: Text is the tab caption
};

// How a label sizes itself to its text: it grows to the right from Left, or (Right)
// keeps the right edge that its initial text gives and grows to the left, or (Fixed)
// keeps Width and aligns its text inside.
enum class LabelAnchor : uint8_t { Left, Right, Fixed };

// Horizontal alignment of a label's text; text always starts at the top.
enum class TextAlign : uint8_t { Left, Center, Right };

// The window's two font families; where a face lacks them, a Japanese font with
// proportional kana stands in.
enum class FontFamily : uint8_t { UiGothic, PGothic };
constexpr std::string_view kUiGothicName = "MS UI Gothic";
constexpr std::string_view kPGothicName = "ＭＳ Ｐゴシック";
std::string_view FontFamilyName(FontFamily family);

struct FontSpec {
    FontFamily Family = FontFamily::UiGothic;
    int PixelSize = 12;
    bool Bold = false;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct Rgb {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class CursorKind : uint8_t {
    Default,
    Help,            // arrow with question mark: the widget explains itself
    PointingHand,    // the buttons
    HelpWhenHinted,  // the help cursor while the bound hint is switched on and not empty
};

// What a widget shows of TSimState / TDisplay, or what a user's action on it sets.
// Chara is the roster position of the page the widget belongs to; Index selects one
// of several (a stat 0..4, a wear-slot position, a card row). form/binding.h resolves
// a Binding to the fields themselves.
enum class BoundField : uint8_t {
    None,
    // Inputs (TSimState), shown and set.
    Level,        // ComboBox1: State.Level
    Page,         // PageControl1: State.TabIndex
    EquipItem,    // ComboBox_<C><K>: State.Chara[Chara].Items[Index]; Index = slot position
    CharaCard,    // cb<C>CharaCard<Index+1>: the card index; rows from the page display
    CaddieCard,   // cb<C>CaddieCard<Index+1>
    CharaSlotUp,  // UpDown<n>: slot-up count Index of State.Chara[Chara]
    SpecialCard,  // cbSpecialCard: State.SpecialCard
    Caddie,       // ComboBox3: State.Caddie
    Club,         // ComboBox2: State.Club; opening the list runs ComboBox2DropDown
    ClubSlotUp,   // UpDown_Club<Index+1>: State.ClubSpinners[Index]
    // Outputs (TDisplay), shown only.
    SlotLimit,       // Label_S<n>: Pages[Chara].SlotLimitText[Index]
    CharaPPNeeded,   // Label32, ...: Pages[Chara].PPNeededText
    CharaPPTotal,    // Label123, ...: Pages[Chara].PPTotalText
    CaddieEffect,    // Label_CaddieEffect
    ClubBase,        // Label_Club<Index+1>
    ClubSlot,        // Label_ClubSlot<Index+1>
    ClubPPNeeded,    // Label30
    ClubPPTotal,     // Label122
    StatCaption,     // Label13..Label17: hint StatCaptionHint[Index]
    LastStat,        // Label_LastPow..Label_LastCur: Last[Index]
    Penalty,         // Label18 (Index 0, control), Label19 (Index 1, accuracy)
    DistanceNormal,  // Label22
    DistancePower,   // Label23
    DistancePower2,  // Label174
    TotalPP,         // Label67
    // Commands.
    FullTune,  // Button_ClubFullTune: ClubFullTune; hint FullTuneHint
    Save,      // Button1: Button1Click; hint SaveButtonHint
    Revert,    // Button2: FormCreate
};

struct Binding {
    BoundField Field = BoundField::None;
    int8_t Chara = -1;  // -1: not on a character page
    int8_t Index = 0;

    friend bool operator==(const Binding&, const Binding&) = default;
};

struct FormWidget {
    WidgetKind Kind = WidgetKind::Label;
    std::string Name;  // object name; empty for plain captions and unnamed group boxes
    int Parent = -1;   // index in FormDef::Widgets; -1 only for the form

    // Place and size. A label with Anchor Left or Right has Width and Height 0: its
    // size follows its text in its font.
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    LabelAnchor Anchor = LabelAnchor::Left;
    TextAlign Align = TextAlign::Left;
    // A label that stands right of another: its left edge is at least one pixel right
    // of that label's right edge (index in FormDef::Widgets, -1: none).
    int LeftAfter = -1;
    // A caption that names a control (index in FormDef::Widgets, -1: none), as a
    // label's focus control does: a screen reader reads it as the control's label.
    int FocusControl = -1;
    // A list whose width fits its rows: the widest row's text width plus FitExtra,
    // kept within Width..FitMaxWidth. 0: the list keeps Width.
    int FitMaxWidth = 0;
    int FitExtra = 0;

    FontSpec Font;                  // the font the widget draws with
    std::optional<Rgb> TextColour;  // nullopt: the parent's
    std::optional<Rgb> Background;  // nullopt: the parent's
    CursorKind Cursor = CursorKind::Default;

    std::string Text;                // initial text or caption
    std::string Hint;                // hint that never changes (empty: none or bound)
    std::vector<std::string> Items;  // initial list rows; the list starts on row 0
    int VisibleRows = 0;             // rows an opened list shows at once
    int Max = 0;                     // spinner: upper bound when created (lower bound 0)
    std::string EditName;            // spinner: object name of its number box

    // What a screen reader says for the control: its caption or row label, and where
    // it stands (page and group), e.g. "上" / "バスチのページ、ステータスUP装備".
    std::string AccessibleName;
    std::string AccessibleDescription;

    Binding Bind;
};

struct FormDef {
    std::vector<FormWidget> Widgets;  // Widgets[0] is the form; parents come first
};

// The main window, built once from the roster, the catalogue and the club tables.
const FormDef& MainForm();

// Index of the widget with object name `name`, or -1.
int FindWidget(const FormDef& form, std::string_view name);

// The whole description as one JSON document (UTF-8), for the browser face:
//   {"widgets":[{...}, ...]}
// in the order of FormDef::Widgets, every widget with every field, keys in this order:
//   "kind" ("Form", "GroupBox", ...), "name", "parent" (index, -1 for the form),
//   "left", "top", "width", "height", "anchor" ("Left", "Right", "Fixed"),
//   "align" ("Left", "Center", "Right"), "leftAfter", "fitMaxWidth", "fitExtra",
//   "font" {"family" (the family name), "pixelSize", "bold"},
//   "textColour" and "background" ("#rrggbb" or null),
//   "cursor" ("Default", "Help", "PointingHand", "HelpWhenHinted"),
//   "text", "hint", "items" [...], "visibleRows", "max", "editName",
//   "accessibleName", "accessibleDescription",
//   "bind" {"field" (the BoundField name, "None" for none), "chara", "index"},
//   "focusControl".
std::string FormJson();

// Names of the enum members as FormJson writes them.
std::string_view KindName(WidgetKind kind);
std::string_view FieldName(BoundField field);
