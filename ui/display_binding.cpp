#include "ui/display_binding.h"

#include <QSignalBlocker>

#include "form/binding.h"
#include "simulator/holdings_form.h"
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
                // A list whose rows the display does not change keeps the form's rows,
                // which the holdings may mark all the same.
                const std::optional<ListRef> ref = ListOfBinding(w.Bind);
                if (const auto* items = BoundItems(display, w.Bind)) {
                    items_.push_back({list, items, *items, ref, *items, 0});
                } else if (ref && ref->Kind != ListKind::Level) {
                    items_.push_back({list, &w.Items, w.Items, ref, w.Items, 0});
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

void DisplayBinding::SetHoldings(const THoldings* holdings) {
    holdings_ = holdings;
    ++holdingsChanges_;
}

void DisplayBinding::Render() {
    for (ItemsBinding& b : items_) {
        if (*b.Items != b.Shown || b.HoldingsShown != holdingsChanges_) {
            std::vector<std::string> texts = holdings_ != nullptr && b.Ref
                                                 ? MarkedEntries(*b.Items, *holdings_, *b.Ref)
                                                 : *b.Items;
            if (texts != b.ShownTexts) {
                const QSignalBlocker blocker(b.List);
                b.List->clear();
                for (const std::string& text : texts) {
                    b.List->addItem(Q(text));
                }
                b.ShownTexts = std::move(texts);
            }
            b.Shown = *b.Items;
            b.HoldingsShown = holdingsChanges_;
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
