#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/sim_state.h"
#include "engine/status.h"

// Every output the steps write, under the names of the widgets that show them.
// It starts with the window's initial texts and persists between runs, so a step that
// writes nothing leaves the previous text. The view copies it into the widgets after
// every operation, also after an error. Texts that break lines use CR, as stored.

// A label whose explanation switches on and off at run time; the help cursor goes
// with a switched-on hint.
struct HintedLabel {
    std::string Text;
    std::string Hint;
    bool HintOn = false;

    friend bool operator==(const HintedLabel&, const HintedLabel&) = default;
};

// One character page (the widgets carry the character's Name or its spinner numbers).
struct CharaPageDisplay {
    std::array<std::string, kStatCount> SlotLimitText{"/0", "/0", "/0", "/0", "/0"};  // Label_S<n>
    std::array<std::string, kStatCount> SpinnerHint{};                                // UpDown<n>
    std::string PPNeededText = "0 PP";   // Label32, Label47, ...
    std::string PPTotalText = "(0 PP)";  // Label123, Label124, ...
    // Enable flags of the body-slot lists.
    bool TopEnabled = true;
    bool PantsEnabled = true;
    bool TopPantsEnabled = true;
    bool WaistEnabled = true;
    // Items of cb<Name>CharaCard1..3 and cb<Name>CaddieCard1..2; "なし" until refilled.
    std::array<std::vector<std::string>, 3> CharaCardItems{{{"なし"}, {"なし"}, {"なし"}}};
    std::array<std::vector<std::string>, 2> CaddieCardItems{{{"なし"}, {"なし"}}};

    friend bool operator==(const CharaPageDisplay&, const CharaPageDisplay&) = default;
};

struct TDisplay {
    std::array<CharaPageDisplay, CharaCount> Pages{};

    std::string CaddieEffectText = "キャディの効果";  // Label_CaddieEffect

    std::array<std::string, kStatCount> ClubBaseText{"0", "0", "0", "0", "0"};  // Label_Club<i>
    std::array<std::string, kStatCount> ClubSlotText{"/0", "/0", "/0", "/0",
                                                     "/0"};  // Label_ClubSlot<i>
    std::array<std::string, kStatCount> ClubSpinnerHint{};   // UpDown_Club<i>
    std::string ClubPPNeededText = "0 PP";                   // Label30
    std::string ClubPPTotalText = "(0 PP)";                  // Label122

    // Label_LastPow .. Label_LastCur; control and accuracy carry the Season2 hints.
    std::array<HintedLabel, kStatCount> Last{
        {{"0", "", false}, {"0", "", false}, {"0", "", false}, {"0", "", false}, {"0", "", false}}};
    // The power-limit penalty beside control (Label18) and accuracy (Label19); the hint
    // text is fixed.
    HintedLabel ControlPenalty{"(-0)", "ペナルティによる減少分", false};
    HintedLabel AccuracyPenalty{"(-0)", "ペナルティによる減少分", false};
    std::string DistanceNormalText = "230y";  // Label22
    std::string DistancePowerText = "240y";   // Label23
    std::string DistancePower2Text = "250y";  // Label174
    std::string TotalPPText = "0 PP";         // Label67

    // Hints that the load sets: the captions Label13..Label17, Button1 and the full-tune
    // button; before the load the window definition's texts stand.
    std::array<std::string, kStatCount> StatCaptionHint{};
    std::string SaveButtonHint = "自分のキャラに合わせて保存しておくと便利です。";
    std::string FullTuneHint = "フルチューン";
    // Hint timing of the application, in ms; 0 until the load sets it.
    int HintPauseMs = 0;
    int HintHidePauseMs = 0;

    friend bool operator==(const TDisplay&, const TDisplay&) = default;
};
