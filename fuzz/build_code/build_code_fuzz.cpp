// libFuzzer target: arbitrary bytes as a build code and as a pasted text (a code or a
// share link, blanks around it).
// - A code either fails with one of the code's two messages or decodes to a build whose
//   code is the input itself (each build has exactly one code) and reads back as that
//   build.
// - A paste onto a loaded simulator either fails with an ESimError and leaves the
//   simulator exactly as it was, or shows a build that showing again changes nothing,
//   with the PP baselines and the window position kept. Any other exception aborts.
// Random letters almost never carry right check letters, so each input made of code
// letters is also tried with its last four letters replaced by the right ones: that
// reaches every field of the code behind the check.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/errors.h"
#include "engine/levels.h"
#include "settings/settings_store.h"
#include "simulator/build_code.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"

namespace {

constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr size_t kCheckLetters = 4;

void Require(bool ok, const char* what, std::string_view input) {
    if (!ok) {
        std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(input.size()), input.data());
        std::abort();
    }
}

// The body followed by its right check letters: CRC-24 (polynomial 0x864CFB, start
// 0xB704CE) in four code letters, written out here on its own.
std::string WithCheck(std::string_view body) {
    uint32_t crc = 0xB704CE;
    for (const char c : body) {
        crc ^= static_cast<uint32_t>(static_cast<unsigned char>(c)) << 16;
        for (int i = 0; i < 8; ++i) {
            crc <<= 1;
            if ((crc & 0x1000000) != 0) {
                crc ^= 0x1864CFB;
            }
        }
    }
    std::string code(body);
    for (int shift = 18; shift >= 0; shift -= 6) {
        code += kLetters[(crc >> shift) & 63];
    }
    return code;
}

// A selection with something chosen in every list, saved (so that the PP baselines are
// set) and then changed again, as a player's window looks before a paste.
TSimulator LoadedSimulator() {
    MemoryStore store;
    TSimulator sim;
    FormCreate(sim, store);
    PlannedBuild b = BuildOf(sim.State);
    b.Level = kLevelCount - 1;
    b.TabIndex = 3;
    b.Caddie = kCaddieCount - 1;
    b.SpecialCard = 1;
    b.Club = 20;
    b.ClubSlotUps[20] = ClubSets()[20].ClubSlotLimit;
    b.ClubSlotUps[2] = ClubSets()[2].ClubSlotLimit;
    for (int32_t c = 0; c < CharaCount; ++c) {
        TCharaState& chara = b.Chara[c];
        for (size_t p = 0; p < CharaDef(c).Slots.size(); ++p) {
            chara.Items[p] = static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size()) - 1;
        }
        chara.CharaCard1 = kCardKindCount - 1;
        chara.CaddieCard1 = kCaddieCardKindCount - 1;
        for (int i = 0; i < kStatCount; ++i) {
            SlotUpField(chara, i) = CharaSpinnerMax(i) / 2;
        }
    }
    ShowBuild(sim, b);
    Button1Click(sim, store);  // saves, then loads the saved file
    b.Level = 2;
    b.Club = 2;
    b.Chara[3].PowSlotUp = CharaSpinnerMax(0);
    ShowBuild(sim, b);
    return sim;
}

const TSimulator& Loaded() {
    static const TSimulator sim = LoadedSimulator();
    return sim;
}

// Decodes `code` if it can; checks the decoder's promises either way.
std::optional<PlannedBuild> CheckDecode(std::string_view code) {
    PlannedBuild build;
    try {
        build = DecodeBuild(code);
    } catch (const EBuildCodeError& error) {
        const std::string_view message = error.what();
        Require(message == kBuildCodeDamaged || message == kBuildCodeUnknownVersion,
                "a code failed with another message", code);
        return std::nullopt;
    }
    const std::string again = EncodeBuild(build);
    Require(again == code, "a decoded build has another code", code);
    Require(DecodeBuild(again) == build, "a build's code reads back as another build", code);
    return build;
}

// Pastes `text` onto the loaded simulator and returns what it shows, or nullopt and the
// message when the paste is refused.
std::optional<TSimulator> CheckPaste(std::string_view text, std::string* message = nullptr) {
    TSimulator sim = Loaded();
    try {
        PasteBuild(sim, text);
    } catch (const ESimError& error) {
        Require(sim == Loaded(), "a refused paste changed the simulator", text);
        if (message != nullptr) {
            *message = error.what();
        }
        return std::nullopt;
    }
    TSimulator again = sim;
    ShowBuild(again, BuildOf(sim.State));
    Require(again == sim, "showing a pasted build again changed it", text);
    Require(sim.State.SavedPP == Loaded().State.SavedPP &&
                sim.State.ClubSavedPP == Loaded().State.ClubSavedPP,
            "a paste changed the PP baselines", text);
    Require(sim.Window == Loaded().Window, "a paste moved the window", text);
    return sim;
}

// A code: decoding and pasting agree, and a share link around it pastes the same.
void CheckCode(std::string_view code) {
    const std::optional<PlannedBuild> build = CheckDecode(code);
    std::string message;
    const std::optional<TSimulator> pasted = CheckPaste(code, &message);
    if (build.has_value()) {
        // Only a build without a club set can fail to show; a shown build is the code's.
        Require(pasted.has_value() || build->Club < 0, "a sound code was refused", code);
        Require(!pasted.has_value() || BuildOf(pasted->State) == *build,
                "a paste showed another build than its code's", code);
    } else {
        Require(!pasted.has_value(), "a code that does not decode was pasted", code);
    }
    std::string linkMessage;
    const std::string link =
        "\u3000 https://example.org/kestrel.html#" + std::string(code) + "\r\n";
    const std::optional<TSimulator> linked = CheckPaste(link, &linkMessage);
    Require(linked == pasted && linkMessage == message,
            "a share link pasted otherwise than its code", code);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckDecode(text);
    CheckPaste(text);
    if (size > kCheckLetters && text.find_first_not_of(kLetters) == std::string_view::npos) {
        CheckCode(WithCheck(text.substr(0, size - kCheckLetters)));
    }
    return 0;
}
