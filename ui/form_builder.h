#pragma once

#include <vector>

#include "form/form.h"

class QWidget;
class CharaPageControl;

// The widgets made from a form description: Widgets[i] shows FormDef::Widgets[i], and
// Widgets[0] is the window itself.
struct BuiltForm {
    std::vector<QWidget*> Widgets;
    CharaPageControl* Pages = nullptr;
};

// Makes the widgets of `form` inside `window`, which becomes the form's window, in the
// description's order: that order is also the keyboard focus order. Labels fit their
// texts and lists their rows in the fonts the widgets draw with.
BuiltForm BuildForm(QWidget& window, const FormDef& form);
