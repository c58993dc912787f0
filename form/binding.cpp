#include "form/binding.h"

#include <utility>

#include "characters/roster.h"

namespace {

// The fields of a character's card and slot-up rows, by row.
constexpr int32_t TCharaState::*kCharaCards[] = {&TCharaState::CharaCard1, &TCharaState::CharaCard2,
                                                 &TCharaState::CharaCard3};
constexpr int32_t TCharaState::*kCaddieCards[] = {&TCharaState::CaddieCard1,
                                                  &TCharaState::CaddieCard2};
constexpr int32_t TCharaState::*kSlotUps[kStatCount] = {
    &TCharaState::PowSlotUp, &TCharaState::CtrlSlotUp, &TCharaState::ExaSlotUp,
    &TCharaState::SpinSlotUp, &TCharaState::CurSlotUp};

// The fields that are one value each, by binding.
constexpr std::pair<BoundField, int32_t TSimState::*> kStateScalars[] = {
    {BoundField::Level, &TSimState::Level},
    {BoundField::Page, &TSimState::TabIndex},
    {BoundField::SpecialCard, &TSimState::SpecialCard},
    {BoundField::Caddie, &TSimState::Caddie},
    {BoundField::Club, &TSimState::Club},
};
constexpr std::pair<BoundField, std::string TDisplay::*> kDisplayTexts[] = {
    {BoundField::CaddieEffect, &TDisplay::CaddieEffectText},
    {BoundField::ClubPPNeeded, &TDisplay::ClubPPNeededText},
    {BoundField::ClubPPTotal, &TDisplay::ClubPPTotalText},
    {BoundField::DistanceNormal, &TDisplay::DistanceNormalText},
    {BoundField::DistancePower, &TDisplay::DistancePowerText},
    {BoundField::DistancePower2, &TDisplay::DistancePower2Text},
    {BoundField::TotalPP, &TDisplay::TotalPPText},
};

// The field of `record` that `field` names in `table`, or nullptr.
template <class Record, class Table>
auto Scalar(Record& record, const Table& table, BoundField field)
    -> decltype(&(record.*table[0].second)) {
    for (const auto& [bound, member] : table) {
        if (bound == field) {
            return &(record.*member);
        }
    }
    return nullptr;
}

template <class State>
auto ValueField(State& state, const Binding& bind) -> decltype(&state.Level) {
    switch (bind.Field) {
        case BoundField::EquipItem:
            return &state.Chara[bind.Chara].Items[bind.Index];
        case BoundField::CharaCard:
            return &(state.Chara[bind.Chara].*kCharaCards[bind.Index]);
        case BoundField::CaddieCard:
            return &(state.Chara[bind.Chara].*kCaddieCards[bind.Index]);
        case BoundField::CharaSlotUp:
            return &(state.Chara[bind.Chara].*kSlotUps[bind.Index]);
        case BoundField::ClubSlotUp:
            return &state.ClubSpinners[bind.Index].Position;
        default:
            return Scalar(state, kStateScalars, bind.Field);
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
    const CharaPageDisplay& page = display.Pages[bind.Chara];
    const TWearSlot slot = CharaDef(bind.Chara).Slots[bind.Index];
    const std::pair<TWearSlot, const bool*> flags[] = {{TWearSlot::Top, &page.TopEnabled},
                                                       {TWearSlot::Pants, &page.PantsEnabled},
                                                       {TWearSlot::TopPants, &page.TopPantsEnabled},
                                                       {TWearSlot::Waist, &page.WaistEnabled}};
    for (const auto& [kind, flag] : flags) {
        if (kind == slot) {
            return flag;
        }
    }
    return nullptr;
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
        case BoundField::ClubBase:
            return &display.ClubBaseText[i];
        case BoundField::ClubSlot:
            return &display.ClubSlotText[i];
        case BoundField::LastStat:
            return &display.Last[i].Text;
        case BoundField::Penalty:
            return i == 0 ? &display.ControlPenalty.Text : &display.AccuracyPenalty.Text;
        default:
            return Scalar(display, kDisplayTexts, bind.Field);
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
            const HintedLabel& penalty = i == 0 ? display.ControlPenalty : display.AccuracyPenalty;
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
