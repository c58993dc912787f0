#include "ui/form_builder.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>

#include "ui/app_style.h"
#include "ui/chara_tabs.h"
#include "ui/look.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

QFont ToFont(const FontSpec& font) {
    return PixelFont(Q(FontFamilyName(font.Family)), font.PixelSize, font.Bold);
}

QColor ToColour(const Rgb& rgb) {
    return {rgb.R, rgb.G, rgb.B};
}

Qt::Alignment ToAlignment(TextAlign align) {
    switch (align) {
        case TextAlign::Center:
            return Qt::AlignHCenter | Qt::AlignTop;
        case TextAlign::Right:
            return Qt::AlignRight | Qt::AlignTop;
        default:
            return Qt::AlignLeft | Qt::AlignTop;
    }
}

FitLabel::Anchor ToAnchor(LabelAnchor anchor) {
    switch (anchor) {
        case LabelAnchor::Right:
            return FitLabel::Anchor::Right;
        case LabelAnchor::Fixed:
            return FitLabel::Anchor::Fixed;
        default:
            return FitLabel::Anchor::Left;
    }
}

class Builder {
public:
    Builder(QWidget& window, const FormDef& form) : form_(form) {
        built_.Widgets.reserve(form.Widgets.size());
        built_.Widgets.push_back(&window);
    }

    BuiltForm Build() {
        BuildWindow(*built_.Widgets[0], form_.Widgets[0]);
        for (size_t i = 1; i < form_.Widgets.size(); ++i) {
            FinishPagesBefore(static_cast<int>(i));
            QWidget* widget = Make(form_.Widgets[i]);
            built_.Widgets.push_back(widget);
            Decorate(*widget, form_.Widgets[i]);
        }
        FinishPagesBefore(-1);
        // A caption is its control's label for a screen reader.
        for (size_t i = 0; i < form_.Widgets.size(); ++i) {
            if (const int control = form_.Widgets[i].FocusControl; control >= 0) {
                static_cast<QLabel*>(built_.Widgets[i])
                    ->setBuddy(built_.Widgets[static_cast<size_t>(control)]);
            }
        }
        return std::move(built_);
    }

private:
    static void BuildWindow(QWidget& window, const FormWidget& w) {
        InstallFontStandIns();
        InstallAppStyle();
        window.setObjectName(Q(w.Name));
        window.setWindowTitle(Q(w.Text));
        window.setFixedSize(w.Width, w.Height);
        window.setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        window.setFont(ToFont(w.Font));
        QToolTip::setFont(ToFont(w.Font));
        if (w.Background) {
            QPalette palette = window.palette();
            palette.setColor(QPalette::Window, ToColour(*w.Background));
            window.setPalette(palette);
            window.setAutoFillBackground(true);
        }
    }

    QWidget* Make(const FormWidget& w) {
        QWidget* parent = built_.Widgets[static_cast<size_t>(w.Parent)];
        switch (w.Kind) {
            case WidgetKind::GroupBox: {
                auto* group = new QGroupBox(Q(w.Text), parent);
                group->setGeometry(w.Left, w.Top, w.Width, w.Height);
                return group;
            }
            case WidgetKind::Label:
                return MakeLabel(w, parent);
            case WidgetKind::List:
                return MakeList(w, parent);
            case WidgetKind::Spinner: {
                auto* spinner = new StepSpinner(parent, Q(w.EditName));
                spinner->setGeometry(w.Left, w.Top, w.Width, w.Height);
                spinner->setRange(0, w.Max);
                spinner->setValue(Q(w.Text).toInt());
                spinner->NumberBox()->setAccessibleName(Q(w.AccessibleName));
                spinner->NumberBox()->setAccessibleDescription(Q(w.AccessibleDescription));
                return spinner;
            }
            case WidgetKind::Button: {
                auto* button = new QPushButton(Q(w.Text), parent);
                button->setGeometry(w.Left, w.Top, w.Width, w.Height);
                button->setAutoDefault(false);
                return button;
            }
            case WidgetKind::PageControl: {
                built_.Pages = new CharaPageControl(parent);
                built_.Pages->setGeometry(w.Left, w.Top, w.Width, w.Height);
                pageControl_ = static_cast<int>(built_.Widgets.size());
                return built_.Pages;
            }
            case WidgetKind::Page: {
                // Made inside the page control, so that its labels measure their texts in
                // the page control's font; the page control places it below the tabs.
                pendingPage_ = static_cast<int>(built_.Widgets.size());
                return new QWidget(parent);
            }
            default:
                return new QWidget(parent);
        }
    }

    QWidget* MakeLabel(const FormWidget& w, QWidget* parent) const {
        auto* label = new FitLabel(parent, Q(w.Text), ToAnchor(w.Anchor));
        label->setAlignment(ToAlignment(w.Align));
        SetFontAndColour(*label, w);
        int left = w.Left;
        if (w.LeftAfter >= 0) {
            left = std::max(
                left, built_.Widgets[static_cast<size_t>(w.LeftAfter)]->geometry().right() + 1);
        }
        label->Place(left, w.Top, w.Width);
        return label;
    }

    QWidget* MakeList(const FormWidget& w, QWidget* parent) const {
        auto* list = new PickList(parent);
        SetFontAndColour(*list, w);
        int width = w.Width;
        if (w.FitMaxWidth > 0) {
            const QFontMetrics metrics(list->font());
            int textWidth = 0;
            for (const std::string& item : w.Items) {
                textWidth = std::max(textWidth, metrics.horizontalAdvance(Q(item)));
            }
            width = std::clamp(textWidth + w.FitExtra, w.Width, w.FitMaxWidth);
        }
        list->setGeometry(w.Left, w.Top, width, w.Height);
        list->setMaxVisibleItems(w.VisibleRows);
        for (const std::string& item : w.Items) {
            list->addItem(Q(item));
        }
        list->setCurrentIndex(0);
        return list;
    }

    // A font or colour of the widget's own only where it differs from its parent's, so
    // that everything else follows the window's.
    void SetFontAndColour(QWidget& widget, const FormWidget& w) const {
        if (!(w.Font == form_.Widgets[static_cast<size_t>(w.Parent)].Font)) {
            widget.setFont(ToFont(w.Font));
        }
        if (w.TextColour) {
            QPalette palette = widget.palette();
            palette.setColor(QPalette::WindowText, ToColour(*w.TextColour));
            widget.setPalette(palette);
        }
    }

    static void Decorate(QWidget& widget, const FormWidget& w) {
        if (!w.Name.empty()) {
            widget.setObjectName(Q(w.Name));
        }
        if (!w.Hint.empty()) {
            widget.setToolTip(HintText(w.Hint));
        }
        if (w.Cursor == CursorKind::Help) {
            widget.setCursor(Qt::WhatsThisCursor);
        } else if (w.Cursor == CursorKind::PointingHand) {
            widget.setCursor(Qt::PointingHandCursor);
        }
        if (!w.AccessibleName.empty()) {
            widget.setAccessibleName(Q(w.AccessibleName));
        }
        if (!w.AccessibleDescription.empty()) {
            widget.setAccessibleDescription(Q(w.AccessibleDescription));
        }
    }

    bool IsInside(int index, int ancestor) const {
        for (int i = index; i >= 0; i = form_.Widgets[static_cast<size_t>(i)].Parent) {
            if (i == ancestor) {
                return true;
            }
        }
        return false;
    }

    // A page becomes a tab once its contents are made, and the page control is complete
    // once its last page is; `next` is the widget about to be made (-1: none).
    void FinishPagesBefore(int next) {
        if (pendingPage_ >= 0 && (next < 0 || !IsInside(next, pendingPage_))) {
            const FormWidget& page = form_.Widgets[static_cast<size_t>(pendingPage_)];
            built_.Pages->addTab(built_.Widgets[static_cast<size_t>(pendingPage_)], Q(page.Text));
            pendingPage_ = -1;
        }
        if (pageControl_ >= 0 && (next < 0 || !IsInside(next, pageControl_))) {
            built_.Pages->AddNoPage();
            built_.Pages->setCurrentIndex(0);
            pageControl_ = -1;
        }
    }

    const FormDef& form_;
    BuiltForm built_;
    int pageControl_ = -1;  // the page control whose pages are being made
    int pendingPage_ = -1;  // the page being made
};

}  // namespace

BuiltForm BuildForm(QWidget& window, const FormDef& form) {
    return Builder(window, form).Build();
}
