#pragma once

// Resolves a widget's Binding (form/form.h) to the fields of the selection and the
// display values, so that a face binds every widget by one rule per kind instead of
// by hand. Pointers point into the objects passed in and live as long as they do;
// nullptr means that the widget has no such part.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/display.h"
#include "engine/sim_state.h"
#include "form/form.h"

// A list's selected index, a spinner's position or the active page.
const int32_t* BoundValue(const TSimState& state, const Binding& bind);
// Sets what BoundValue reads, as the user's change does: a club spinner clamps to
// its bounds.
void SetBoundValue(TSimState& state, const Binding& bind, int32_t value);
// A spinner's upper bound where it changes at run time (the club spinners).
const int32_t* BoundMax(const TSimState& state, const Binding& bind);

// A list's rows where the display refills them (the card lists).
const std::vector<std::string>* BoundItems(const TDisplay& display, const Binding& bind);
// A list's enable flag (the body-slot lists of a page).
const bool* BoundEnabled(const TDisplay& display, const Binding& bind);
// A label's text.
const std::string* BoundText(const TDisplay& display, const Binding& bind);

// A hint that changes at run time; On == nullptr: shown whenever it has a text.
struct BoundHint {
    const std::string* Text = nullptr;
    const bool* On = nullptr;
};
BoundHint BoundHintOf(const TDisplay& display, const Binding& bind);

// The core operation that a user's action on the widget runs.
enum class UserOperation : uint8_t {
    None,
    Recalculate,   // ComboBox1Change (every list but the club list, spinners, the page)
    ClubChange,    // a pick in the club list
    ClubListOpen,  // ComboBox2DropDown, before the club list opens
    FullTune,      // ClubFullTune
    Save,          // Button1Click
    Revert,        // FormCreate
};
// What a pick, step, page change or click runs.
UserOperation OperationOnChange(const Binding& bind);
// What opening the widget's list runs (only the club list runs something).
UserOperation OperationOnOpen(const Binding& bind);
