#include "form/binding.h"

#include "characters/roster.h"

namespace {

// The slot-up count of stat i, for a const or a mutable character.
template <class Chara>
auto& SlotUpOf(Chara& c, int i) {
    switch (i) {
        case 0:
            return c.PowSlotUp;
        case 1:
            return c.CtrlSlotUp;
        case 2:
            return c.ExaSlotUp;
        case 3:
            return c.SpinSlotUp;
        default:
            return c.CurSlotUp;
    }
}

template <class Card>
auto& CharaCardOf(Card& c, int i) {
    switch (i) {
        case 0:
            return c.CharaCard1;
        case 1:
            return c.CharaCard2;
        default:
            return c.CharaCard3;
    }
}

template <class State>
auto ValueField(State& state, const Binding& bind) -> decltype(&state.Level) {
    switch (bind.Field) {
        case BoundField::Level:
            return &state.Level;
        case BoundField::Page:
            return &state.TabIndex;
        case BoundField::EquipItem:
            return &state.Chara[bind.Chara].Items[bind.Index];
        case BoundField::CharaCard:
            return &CharaCardOf(state.Chara[bind.Chara], bind.Index);
        case BoundField::CaddieCard:
            return bind.Index == 0 ? &state.Chara[bind.Chara].CaddieCard1
                                   : &state.Chara[bind.Chara].CaddieCard2;
        case BoundField::CharaSlotUp:
            return &SlotUpOf(state.Chara[bind.Chara], bind.Index);
        case BoundField::SpecialCard:
            return &state.SpecialCard;
        case BoundField::Caddie:
            return &state.Caddie;
        case BoundField::Club:
            return &state.Club;
        case BoundField::ClubSlotUp:
            return &state.ClubSpinners[bind.Index].Position;
        default:
            return nullptr;
    }
}

}  // namespace

const int32_t* BoundValue(const TSimState& state, const Binding& bind) {
    return ValueField(state, bind);
}

void SetBoundValue(TSimState& state, const Binding& bind, int32_t value) {
    if (bind.Field == BoundField::ClubSlotUp) {
        state.ClubSpinners[bind.Index].SetPosition(value);
    } else if (int32_t* field = ValueField(state, bind)) {
        *field = value;
    }
}

const int32_t* BoundMax(const TSimState& state, const Binding& bind) {
    return bind.Field == BoundField::ClubSlotUp ? &state.ClubSpinners[bind.Index].Max : nullptr;
}

const std::vector<std::string>* BoundItems(const TDisplay& display, const Binding& bind) {
    switch (bind.Field) {
        case BoundField::CharaCard:
            return &display.Pages[bind.Chara].CharaCardItems[bind.Index];
        case BoundField::CaddieCard:
            return &display.Pages[bind.Chara].CaddieCardItems[bind.Index];
        default:
            return nullptr;
    }
}

const bool* BoundEnabled(const TDisplay& display, const Binding& bind) {
    if (bind.Field != BoundField::EquipItem) {
        return nullptr;
    }
    const TCharaPageDisplay& page = display.Pages[bind.Chara];
    switch (CharaDef(bind.Chara).Slots[bind.Index]) {
        case TWearSlot::Top:
            return &page.TopEnabled;
        case TWearSlot::Pants:
            return &page.PantsEnabled;
        case TWearSlot::TopPants:
            return &page.TopPantsEnabled;
        case TWearSlot::Waist:
            return &page.WaistEnabled;
        default:
            return nullptr;
    }
}

const std::string* BoundText(const TDisplay& display, const Binding& bind) {
    const int i = bind.Index;
    switch (bind.Field) {
        case BoundField::SlotLimit:
            return &display.Pages[bind.Chara].SlotLimitText[i];
        case BoundField::CharaPPNeeded:
            return &display.Pages[bind.Chara].PPNeededText;
        case BoundField::CharaPPTotal:
            return &display.Pages[bind.Chara].PPTotalText;
        case BoundField::CaddieEffect:
            return &display.CaddieEffectText;
        case BoundField::ClubBase:
            return &display.ClubBaseText[i];
        case BoundField::ClubSlot:
            return &display.ClubSlotText[i];
        case BoundField::ClubPPNeeded:
            return &display.ClubPPNeededText;
        case BoundField::ClubPPTotal:
            return &display.ClubPPTotalText;
        case BoundField::LastStat:
            return &display.Last[i].Text;
        case BoundField::Penalty:
            return i == 0 ? &display.ControlPenalty.Text : &display.AccuracyPenalty.Text;
        case BoundField::DistanceNormal:
            return &display.DistanceNormalText;
        case BoundField::DistancePower:
            return &display.DistancePowerText;
        case BoundField::DistancePower2:
            return &display.DistancePower2Text;
        case BoundField::TotalPP:
            return &display.TotalPPText;
        default:
            return nullptr;
    }
}

BoundHint BoundHintOf(const TDisplay& display, const Binding& bind) {
    const int i = bind.Index;
    switch (bind.Field) {
        case BoundField::CharaSlotUp:
            return {&display.Pages[bind.Chara].SpinnerHint[i], nullptr};
        case BoundField::ClubSlotUp:
            return {&display.ClubSpinnerHint[i], nullptr};
        case BoundField::StatCaption:
            return {&display.StatCaptionHint[i], nullptr};
        case BoundField::LastStat:
            return {&display.Last[i].Hint, &display.Last[i].HintOn};
        case BoundField::Penalty: {
            const THintedLabel& penalty = i == 0 ? display.ControlPenalty : display.AccuracyPenalty;
            return {&penalty.Hint, &penalty.HintOn};
        }
        case BoundField::FullTune:
            return {&display.FullTuneHint, nullptr};
        case BoundField::Save:
            return {&display.SaveButtonHint, nullptr};
        default:
            return {};
    }
}

UserOperation OperationOnChange(const Binding& bind) {
    switch (bind.Field) {
        case BoundField::Level:
        case BoundField::Page:
        case BoundField::EquipItem:
        case BoundField::CharaCard:
        case BoundField::CaddieCard:
        case BoundField::CharaSlotUp:
        case BoundField::SpecialCard:
        case BoundField::Caddie:
        case BoundField::ClubSlotUp:
            return UserOperation::Recalculate;
        case BoundField::Club:
            return UserOperation::ClubChange;
        case BoundField::FullTune:
            return UserOperation::FullTune;
        case BoundField::Save:
            return UserOperation::Save;
        case BoundField::Revert:
            return UserOperation::Revert;
        default:
            return UserOperation::None;
    }
}

UserOperation OperationOnOpen(const Binding& bind) {
    return bind.Field == BoundField::Club ? UserOperation::ClubListOpen : UserOperation::None;
}
