#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/display.h"
#include "engine/sim_state.h"
#include "form/form.h"
#include "simulator/holdings.h"
#include "simulator/lists.h"
#include "ui/form_builder.h"

class FitLabel;
class QComboBox;
class QWidget;
class StepSpinner;

// Copies the selection (TSimState) and the display values (TDisplay) into the widgets
// that show them, as the form description's bindings say.
class DisplayBinding {
public:
    // Binds every widget of `built` whose description has a Binding; `form`, `state` and
    // `display` must outlive the binding.
    void Bind(const FormDef& form, const BuiltForm& built, const TSimState& state,
              const TDisplay& display);

    // The holdings whose entries not owned the lists mark (simulator/holdings_form.h);
    // none: no marks. Call again after they change; `holdings` must outlive the binding.
    void SetHoldings(const THoldings* holdings);

    // Copies indices, positions, list rows, enable flags, texts, hints, the active page
    // and the hint timing, with the widgets' signals blocked, touching only what changed.
    void Render();

private:
    struct TextBinding {
        FitLabel* Label;
        const std::string* Text;
        std::string Shown;
    };
    struct HintBinding {
        QWidget* Widget;
        const std::string* Hint;
        const bool* On;   // nullptr: the hint is on whenever it has a text
        bool HelpCursor;  // a label that explains itself shows the help cursor
        std::string Shown;
        bool Applied = false;
    };
    struct ListBinding {
        QComboBox* List;
        const int32_t* Index;
    };
    struct ItemsBinding {
        QComboBox* List;
        const std::vector<std::string>* Items;
        std::vector<std::string> Shown;
        std::optional<ListRef> Ref;           // the list the holdings mark, if any
        std::vector<std::string> ShownTexts;  // the rows with their marks
        uint64_t HoldingsShown = 0;
    };
    struct EnableBinding {
        QWidget* Widget;
        const bool* Enabled;
    };
    struct SpinBinding {
        StepSpinner* Spinner;
        const int32_t* Position;
        const int32_t* Max;  // nullptr: the spinner's range is fixed
    };

    const TSimState* state_ = nullptr;
    const TDisplay* display_ = nullptr;
    const THoldings* holdings_ = nullptr;
    uint64_t holdingsChanges_ = 0;
    CharaPageControl* pages_ = nullptr;
    std::vector<TextBinding> texts_;
    std::vector<HintBinding> hints_;
    std::vector<ListBinding> lists_;
    std::vector<ItemsBinding> items_;
    std::vector<EnableBinding> enables_;
    std::vector<SpinBinding> spinners_;
};
