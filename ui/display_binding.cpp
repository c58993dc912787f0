#include "ui/display_binding.h"

#include <QSignalBlocker>

#include "form/binding.h"
#include "ui/app_style.h"
#include "ui/chara_tabs.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

void DisplayBinding::Bind(const FormDef& form, const BuiltForm& built, const TSimState& state,
                          const TDisplay& display) {
    state_ = &state;
    display_ = &display;
    pages_ = built.Pages;
    for (size_t i = 0; i < form.Widgets.size(); ++i) {
        const FormWidget& w = form.Widgets[i];
        QWidget* widget = built.Widgets[i];
        switch (w.Kind) {
            case WidgetKind::List: {
                auto* list = static_cast<QComboBox*>(widget);
                if (const auto* items = BoundItems(display, w.Bind)) {
                    items_.push_back({list, items, *items});
                }
                if (const int32_t* index = BoundValue(state, w.Bind)) {
                    lists_.push_back({list, index});
                }
                if (const bool* enabled = BoundEnabled(display, w.Bind)) {
                    enables_.push_back({list, enabled});
                }
                break;
            }
            case WidgetKind::Spinner:
                spinners_.push_back({static_cast<StepSpinner*>(widget), BoundValue(state, w.Bind),
                                     BoundMax(state, w.Bind)});
                break;
            case WidgetKind::Label:
                if (const std::string* text = BoundText(display, w.Bind)) {
                    texts_.push_back({static_cast<FitLabel*>(widget), text, w.Text});
                }
                break;
            default:
                break;
        }
        const BoundHint hint = BoundHintOf(display, w.Bind);
        if (hint.Text != nullptr) {
            hints_.push_back(
                {widget, hint.Text, hint.On, w.Cursor == CursorKind::HelpWhenHinted, {}, false});
        }
    }
}

void DisplayBinding::Render() {
    for (ItemsBinding& b : items_) {
        if (*b.Items != b.Shown) {
            const QSignalBlocker blocker(b.List);
            b.List->clear();
            for (const std::string& text : *b.Items) {
                b.List->addItem(Q(text));
            }
            b.Shown = *b.Items;
        }
    }
    for (const ListBinding& b : lists_) {
        const int index = (*b.Index >= 0 && *b.Index < b.List->count()) ? *b.Index : -1;
        if (b.List->currentIndex() != index) {
            const QSignalBlocker blocker(b.List);
            b.List->setCurrentIndex(index);
        }
    }
    for (const EnableBinding& b : enables_) {
        if (b.Widget->isEnabled() != *b.Enabled) {
            b.Widget->setEnabled(*b.Enabled);
        }
    }
    for (const SpinBinding& b : spinners_) {
        const QSignalBlocker blocker(b.Spinner);
        if (b.Max != nullptr && b.Spinner->maximum() != *b.Max) {
            b.Spinner->setMaximum(*b.Max);
        }
        if (b.Spinner->value() != *b.Position) {
            b.Spinner->setValue(*b.Position);
        }
    }
    for (TextBinding& b : texts_) {
        if (*b.Text != b.Shown) {
            b.Label->SetFitText(Q(*b.Text));
            b.Shown = *b.Text;
        }
    }
    for (HintBinding& b : hints_) {
        static const std::string kNone;
        const std::string& hint = (b.On == nullptr || *b.On) ? *b.Hint : kNone;
        if (!b.Applied || hint != b.Shown) {
            b.Widget->setToolTip(HintText(hint));
            if (b.HelpCursor) {
                if (hint.empty()) {
                    b.Widget->unsetCursor();
                } else {
                    b.Widget->setCursor(Qt::WhatsThisCursor);
                }
            }
            b.Shown = hint;
            b.Applied = true;
        }
    }
    const int32_t tab = state_->TabIndex;
    const int page = (tab >= 0 && tab < pages_->CharaPageCount()) ? tab : -1;
    if (pages_->ShownPage() != page) {
        const QSignalBlocker blocker(pages_);
        pages_->ShowPage(page);
    }
    if (display_->HintPauseMs != HintPauseMs() || display_->HintHidePauseMs != HintHidePauseMs()) {
        SetHintTiming(display_->HintPauseMs, display_->HintHidePauseMs);
    }
}
