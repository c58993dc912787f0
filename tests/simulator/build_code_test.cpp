#include "simulator/build_code.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "settings/ini_file.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"
#include "tests/support/sim_print.h"

namespace {

constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

class RandomBuilds {
public:
    explicit RandomBuilds(unsigned seed) : random_(seed) {}

    int32_t Below(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }
    // An index of a list of `size` entries; now and then no selection.
    int32_t Index(size_t size) { return Chance(5) ? -1 : Below(static_cast<int32_t>(size)); }

    TCharaState Chara(int32_t c) {
        TCharaState chara;
        for (size_t p = 0; p < CharaDef(c).Slots.size(); ++p) {
            chara.Items[p] = Index(EquipList(c, static_cast<int>(p)).size());
        }
        chara.CharaCard1 = Index(kCardKindCount);
        chara.CharaCard2 = Index(kCardKindCount);
        chara.CharaCard3 = Index(kCardKindCount);
        chara.CaddieCard1 = Index(kCaddieCardKindCount);
        chara.CaddieCard2 = Index(kCaddieCardKindCount);
        for (int i = 0; i < kStatCount; ++i) {
            SlotUpField(chara, i) = Below(CharaSpinnerMax(i) + 1);
        }
        return chara;
    }

    TStatus ClubCounts(int32_t club) {
        const TStatus& limit = ClubSets()[static_cast<size_t>(club)].ClubSlotLimit;
        TStatus counts;
        for (int k = 0; k < kStatCount; ++k) {
            StatField(counts, k) = Below(StatField(limit, k) + 1);
        }
        return counts;
    }

    // Every value within its range; characters and club sets used at random.
    PlannedBuild Build() {
        PlannedBuild b;
        b.Level = Index(kLevelCount);
        b.TabIndex = Index(CharaCount);
        b.Caddie = Index(kCaddieCount);
        b.SpecialCard = Index(kSpecialCardCount);
        b.Club = Index(kClubCount);
        const int charaPercent = Below(101);
        for (int32_t c = 0; c < CharaCount; ++c) {
            if (Chance(charaPercent)) {
                b.Chara[c] = Chara(c);
            }
        }
        const int clubPercent = Below(101);
        for (int32_t i = 0; i < kClubCount; ++i) {
            if (Chance(clubPercent)) {
                b.ClubSlotUps[i] = ClubCounts(i);
            }
        }
        return b;
    }

    std::mt19937& Engine() { return random_; }

private:
    std::mt19937 random_;
};

// Every value at the top of its range: the longest code there is, since every field
// has a fixed width and only the flags of unused characters and club sets save room.
PlannedBuild FullestBuild() {
    PlannedBuild b;
    b.Level = kLevelCount - 1;
    b.TabIndex = CharaCount - 1;
    b.Caddie = kCaddieCount - 1;
    b.SpecialCard = kSpecialCardCount - 1;
    b.Club = kClubCount - 1;
    for (int32_t c = 0; c < CharaCount; ++c) {
        TCharaState& chara = b.Chara[c];
        for (size_t p = 0; p < CharaDef(c).Slots.size(); ++p) {
            chara.Items[p] = static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size()) - 1;
        }
        chara.CharaCard1 = chara.CharaCard2 = chara.CharaCard3 = kCardKindCount - 1;
        chara.CaddieCard1 = chara.CaddieCard2 = kCaddieCardKindCount - 1;
        for (int i = 0; i < kStatCount; ++i) {
            SlotUpField(chara, i) = CharaSpinnerMax(i);
        }
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        b.ClubSlotUps[i] = ClubSets()[static_cast<size_t>(i)].ClubSlotLimit;
    }
    return b;
}

// A code that passes the envelope checks (letters, check letters) around any body.
std::string WithCheck(const std::string& body) {
    // CRC-24 with the polynomial 0x864CFB, written out here on its own.
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
    std::string code = body;
    for (int shift = 18; shift >= 0; shift -= 6) {
        code += kLetters[(crc >> shift) & 63];
    }
    return code;
}

// Decoding gives either a clear error or a build with every value in range (one whose
// code reads back as itself), and that code is the input.
void ExpectSafeDecode(const std::string& code) {
    try {
        const PlannedBuild b = DecodeBuild(code);
        const std::string again = EncodeBuild(b);
        EXPECT_EQ(again, code);
        EXPECT_EQ(DecodeBuild(again), b) << "a value out of range in " << code;
    } catch (const EBuildCodeError& error) {
        const std::string message = error.what();
        EXPECT_TRUE(message == kBuildCodeDamaged || message == kBuildCodeUnknownVersion) << message;
    }
}

}  // namespace

// Any build in range comes back whole from its code, and each build has one code. Links
// already shared must keep opening as they did: the codes of these builds are pinned
// by a digest of all of them (FNV-1a).
TEST(BuildCode, RoundTripOfRandomBuilds) {
    RandomBuilds random(20261208);
    uint64_t digest = 0xcbf29ce484222325;
    for (int n = 0; n < 3000; ++n) {
        const PlannedBuild b = random.Build();
        const std::string code = EncodeBuild(b);
        for (const char c : code + ' ') {
            digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001b3;
        }
        ASSERT_EQ(DecodeBuild(code), b) << "code " << code;
        for (const char c : code) {
            ASSERT_NE(kLetters.find(c), std::string_view::npos) << code;
        }
    }
    EXPECT_EQ(digest, 0x4c41630cd18ba36eu) << std::hex << digest;
    EXPECT_EQ(DecodeBuild(EncodeBuild(FullestBuild())), FullestBuild());
    EXPECT_EQ(DecodeBuild(EncodeBuild(PlannedBuild{})), PlannedBuild{});
}

// At most 600 letters for any build; under 100 when one character is set up and
// everything else is at its defaults, even with its club set's counts.
TEST(BuildCode, LengthBounds) {
    const size_t longest = EncodeBuild(FullestBuild()).size();
    EXPECT_LE(longest, 600u);
    RandomBuilds random(7);
    for (int n = 0; n < 500; ++n) {
        EXPECT_LE(EncodeBuild(random.Build()).size(), longest);
    }
    const PlannedBuild fullest = FullestBuild();
    for (int32_t c = 0; c < CharaCount; ++c) {
        PlannedBuild one;
        one.TabIndex = c;
        one.Chara[c] = fullest.Chara[c];
        one.Club = kClubCount - 1;
        one.ClubSlotUps[kClubCount - 1] = fullest.ClubSlotUps[kClubCount - 1];
        EXPECT_LT(EncodeBuild(one).size(), 100u) << CharaDef(c).Name;
    }
}

// What the window shows: the selected club set's counts are its spinners', and values
// the window cannot show are brought into range as it would show them.
TEST(BuildCode, BuildOfTheSelectionAsShown) {
    TSimState s;
    s.Club = 3;
    s.ClubSlotUps[3] = MakeStatus(1, 1, 1, 1, 1);
    s.ClubSlotUps[5] = MakeStatus(-4, 99, 0, 0, 0);
    for (int k = 0; k < kStatCount; ++k) {
        s.ClubSpinners[k].Max = 100;
        s.ClubSpinners[k].Position = 2;
    }
    s.Level = kLevelCount;
    s.Caddie = -7;
    s.Chara[2].Items[0] = 10000;
    s.Chara[2].PowSlotUp = 31;
    s.Chara[2].CtrlSlotUp = -1;
    const PlannedBuild b = BuildOf(s);
    for (int k = 0; k < kStatCount; ++k) {
        EXPECT_EQ(StatField(b.ClubSlotUps[3], k),
                  std::min(2, StatField(ClubSets()[3].ClubSlotLimit, k)));
    }
    EXPECT_EQ(b.ClubSlotUps[5].Pow, 0);
    EXPECT_EQ(b.ClubSlotUps[5].Ctrl, ClubSets()[5].ClubSlotLimit.Ctrl);
    EXPECT_EQ(b.Level, -1);
    EXPECT_EQ(b.Caddie, -1);
    EXPECT_EQ(b.Chara[2].Items[0], -1);
    EXPECT_EQ(b.Chara[2].PowSlotUp, 30);
    EXPECT_EQ(b.Chara[2].CtrlSlotUp, 0);
    EXPECT_EQ(DecodeBuild(EncodeBuild(s)), b);
}

// Any one letter changed, anywhere, to any other letter or byte is found.
TEST(BuildCode, EveryOneLetterChangeIsFound) {
    RandomBuilds random(99);
    std::vector<std::string> codes = {EncodeBuild(PlannedBuild{}), EncodeBuild(FullestBuild())};
    for (int n = 0; n < 6; ++n) {
        codes.push_back(EncodeBuild(random.Build()));
    }
    std::string others(kLetters);
    others += "=+/.~ \x80\xff";
    others += '\0';
    for (const std::string& code : codes) {
        for (size_t i = 0; i < code.size(); ++i) {
            for (const char c : others) {
                if (c == code[i]) {
                    continue;
                }
                std::string changed = code;
                changed[i] = c;
                EXPECT_THROW(DecodeBuild(changed), EBuildCodeError) << changed;
            }
        }
        // Letters lost or added at either end.
        EXPECT_THROW(DecodeBuild(code.substr(1)), EBuildCodeError);
        EXPECT_THROW(DecodeBuild(code.substr(0, code.size() - 1)), EBuildCodeError);
        EXPECT_THROW(DecodeBuild(code + "A"), EBuildCodeError);
        EXPECT_THROW(DecodeBuild("A" + code), EBuildCodeError);
    }
}

// A code with a sound envelope but another version letter is named as such.
TEST(BuildCode, UnknownVersion) {
    const std::string code = EncodeBuild(PlannedBuild{});
    for (const char version : std::string_view("ACZ_")) {
        const std::string other =
            WithCheck(std::string(1, version) + code.substr(1, code.size() - 5));
        try {
            DecodeBuild(other);
            ADD_FAILURE() << other << " decoded";
        } catch (const EBuildCodeError& error) {
            EXPECT_EQ(error.what(), kBuildCodeUnknownVersion);
        }
    }
}

// Random texts, random letters and random bodies under correct check letters (which
// reach every field's range check) never crash: a clear error or a build in range.
TEST(BuildCode, ArbitraryInputNeverCrashes) {
    RandomBuilds random(4242);
    std::mt19937& engine = random.Engine();
    for (int n = 0; n < 20000; ++n) {
        const int length = random.Below(n % 10 == 0 ? 700 : 90);
        std::string text;
        const int kind = n % 3;
        for (int i = 0; i < length; ++i) {
            text += kind == 0 ? static_cast<char>(engine() & 0xFF)
                              : kLetters[static_cast<size_t>(random.Below(64))];
        }
        if (kind == 2) {
            text = WithCheck("B" + text);
        }
        ExpectSafeDecode(text);
    }
    // Bodies cut from real codes, re-checked: short reads and stray bits.
    for (int n = 0; n < 300; ++n) {
        const std::string code = EncodeBuild(random.Build());
        const std::string body = code.substr(0, code.size() - 4);
        for (size_t cut = 1; cut < body.size(); cut += 1 + body.size() / 20) {
            ExpectSafeDecode(WithCheck(body.substr(0, cut)));
            ExpectSafeDecode(WithCheck(body + body.substr(cut)));
        }
    }
}

// Showing a build over the stored settings is the same as loading, over them, a file
// that holds it: every selection, result and display value agrees, given the same PP
// baselines.
TEST(BuildCode, ShowingABuildIsLoadingItsFile) {
    MemoryStore empty;
    RandomBuilds random(512);
    for (int n = 0; n < 40; ++n) {
        PlannedBuild b = random.Build();
        if (b.Club < 0) {
            b.Club = random.Below(kClubCount);
        }
        TSimulator shown;
        FormCreate(shown, empty);
        try {
            ShowBuild(shown, b);
        } catch (const ESimError& error) {
            ADD_FAILURE() << error.what();
        }
        ASSERT_EQ(BuildOf(shown.State), b);

        MemoryStore saved;
        TSimulator copy = shown;
        Button1Click(copy, saved);
        {
            // The same baselines as the shown simulator's: none.
            IniFile ini(saved);
            for (int32_t c = 0; c < CharaCount; ++c) {
                ini.WriteInteger(CharaDef(c).Name, "SavedPP", 0);
            }
            for (int32_t i = 0; i < kClubCount; ++i) {
                ini.WriteInteger("Club" + std::to_string(i), "SavedPP", 0);
            }
            ini.UpdateFile();
        }
        // Outputs of steps that a selection skips stay from the run before, so the file
        // is loaded over the same first load.
        TSimulator loaded;
        FormCreate(loaded, empty);
        FormCreate(loaded, saved);
        EXPECT_EQ(shown, loaded);
    }
}

// Without a club set the build stops where the load stops: at the range check.
TEST(BuildCode, ShowingABuildWithoutClubSetStops) {
    TSimulator sim;
    PlannedBuild b;
    b.Club = -1;
    EXPECT_THROW(ShowBuild(sim, b), ERangeError);
    EXPECT_EQ(sim.State.Club, -1);
}

// A pasted code or share link, with blanks around it, shows its build as ShowBuild does;
// a text that cannot be shown names why and leaves the simulator exactly as it was.
TEST(BuildCode, PastedTextsShowTheirBuildOrChangeNothing) {
    MemoryStore empty;
    RandomBuilds random(7331);
    const auto expectRefused = [](TSimulator& sim, const std::string& text,
                                  std::string_view message) {
        const TSimulator before = sim;
        try {
            PasteBuild(sim, text);
            ADD_FAILURE() << "pasted: " << text;
        } catch (const ESimError& error) {
            EXPECT_EQ(error.what(), message) << text;
        }
        EXPECT_EQ(sim, before) << text;
    };
    for (int n = 0; n < 30; ++n) {
        TSimulator sim;
        FormCreate(sim, empty);
        PlannedBuild b = random.Build();
        b.Club = random.Below(kClubCount);
        const std::string code = EncodeBuild(b);
        TSimulator expected = sim;
        ShowBuild(expected, b);
        for (const std::string& text :
             {code, " \t" + code + "\r\n", "file:///home/a/kestrel-simulator.html#" + code,
              "\u3000" + code + "\u00a0"}) {
            TSimulator pasted = sim;
            PasteBuild(pasted, text);
            EXPECT_EQ(pasted, expected) << text;
        }

        std::string damaged = code;
        damaged[1 + static_cast<size_t>(random.Below(static_cast<int32_t>(code.size()) - 1))] ^= 1;
        expectRefused(sim, damaged, kPastedCodeDamaged);
        expectRefused(sim, "https://example.org/#" + code.substr(0, code.size() - 1),
                      kPastedCodeDamaged);
        expectRefused(sim, WithCheck("C" + code.substr(1, code.size() - 5)),
                      kPastedCodeUnknownVersion);
        b.Club = -1;
        expectRefused(sim, EncodeBuild(b), "範囲チェックエラー");
    }
    TSimulator sim;
    expectRefused(sim, "", kNoBuildCode);
    expectRefused(sim, " \n\u3000", kNoBuildCode);
    expectRefused(sim, "https://example.org/page#", kNoBuildCode);
}
