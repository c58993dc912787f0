#pragma once

// Build codes: the whole selection of the window (level, page, the ten characters,
// caddie, special card, club set and the counts of all 42 club sets) as a short text
// that can stand in a link's fragment. The PP baselines are not part of it: whoever
// opens a code keeps their own.
//
// A code is one version letter, the packed fields and a 24-bit CRC over everything
// before it, all in the URL-safe base64 alphabet (A-Z a-z 0-9 - _). A character or a
// club set left at its defaults costs one bit, so a one-character build stays short.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/errors.h"
#include "engine/sim_state.h"

struct TSimulator;

// Everything a build code carries. List indices may be -1 (no selection), as the load
// leaves a value the list does not have.
struct PlannedBuild {
    int32_t Level = 0;
    int32_t TabIndex = 0;
    std::array<TCharaState, CharaCount> Chara{};
    int32_t Caddie = 0;
    int32_t SpecialCard = 0;
    int32_t Club = 0;
    std::array<TStatus, kClubCount> ClubSlotUps{};

    friend bool operator==(const PlannedBuild&, const PlannedBuild&) = default;
};

// A code that cannot be read; the message is for the user.
class EBuildCodeError : public ESimError {
public:
    using ESimError::ESimError;
};

constexpr std::string_view kBuildCodeDamaged = "共有リンクのビルドコードが壊れています";
constexpr std::string_view kBuildCodeUnknownVersion =
    "共有リンクのビルドコードはこの版では読めません";

// A pasted text comes from the clipboard (a code or a share link): its messages name it.
constexpr std::string_view kNoBuildCode = "クリップボードにビルドコードがありません";
constexpr std::string_view kPastedCodeDamaged = "クリップボードのビルドコードが壊れています";
constexpr std::string_view kPastedCodeUnknownVersion =
    "クリップボードのビルドコードはこの版では読めません";

// The selection as the window shows it: the selected club set's counts are its
// spinners' positions. Every value is brought into the range the window can show: a list
// index it does not have becomes -1, a count is held within its spinner's range (for a
// club set, 0 up to that set's slot limit, where its spinner would put it).
PlannedBuild BuildOf(const TSimState& state);

// The code of a build; values outside their ranges are brought in as BuildOf does.
std::string EncodeBuild(const PlannedBuild& build);
inline std::string EncodeBuild(const TSimState& state) {
    return EncodeBuild(BuildOf(state));
}

// Reads a code. Throws EBuildCodeError (kBuildCodeDamaged or kBuildCodeUnknownVersion)
// for anything that is not a whole code of a known version with every value in range.
PlannedBuild DecodeBuild(std::string_view code);

// Puts a build into the selection and recalculates as the load does after reading the
// file: the club set is set up, its spinners take its counts, then StatusCalculate. The
// PP baselines and the window position stay as they are. Throws ESimError as the load
// would (a build without a club set stops with a range error).
void ShowBuild(TSimulator& sim, const PlannedBuild& build);

// Shows the build of a pasted text: a build code or a share link, whose code follows its
// last '#', with blanks around it. It is read and shown on a copy, so that a text that
// cannot be shown leaves `sim` as it was; the error (ESimError) then carries one of the
// paste messages above, or the error of showing the build.
void PasteBuild(TSimulator& sim, std::string_view text);
