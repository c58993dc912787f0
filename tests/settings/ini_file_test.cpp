#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <random>

#include "engine/errors.h"
#include "settings/ini_file.h"
#include "settings/settings_path.h"
#include "tests/settings/temp_folder.h"

namespace {

// Reads `bytes` as a settings file.
int32_t ReadFrom(const std::string& bytes, const char* section, const char* key, int32_t def) {
    TempFolder folder;
    WriteBytes(folder.File("s.ini"), bytes);
    return IniFile(folder.File("s.ini")).ReadInteger(section, key, def);
}

std::string WriteErrorText(const std::string& path) {
    return path + " に書き込めません";
}

// The file's lines without the blank ones: the writer lays out blank lines its own way.
std::string WithoutBlankLines(const std::string& text) {
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            out.append(text, start, end - start).push_back('\n');
        }
        start = end + 1;
    }
    return out;
}

}  // namespace

// An integer is decimal with optional sign, or hexadecimal after 0x or $; else the default.
TEST(IniInteger, DecimalAndHexadecimal) {
    EXPECT_EQ(ParseIniInteger("12"), 12);
    EXPECT_EQ(ParseIniInteger("-1"), -1);
    EXPECT_EQ(ParseIniInteger("+7"), 7);
    EXPECT_EQ(ParseIniInteger("010"), 10);  // leading zeros are not octal
    EXPECT_EQ(ParseIniInteger("0x0A"), 10);
    EXPECT_EQ(ParseIniInteger("0X0a"), 10);
    EXPECT_EQ(ParseIniInteger("$0A"), 10);
    EXPECT_EQ(ParseIniInteger("$ff"), 255);
    EXPECT_EQ(ParseIniInteger("-$10"), -16);
    EXPECT_EQ(ParseIniInteger(" \t 42 \t"), 42);
}

TEST(IniInteger, AnythingElseIsNotAnInteger) {
    for (const char* bad : {"", " ", "abc", "12abc", "1 2", "- 5", "+", "-", "0x", "$", "0x$1",
                            "$0x1", "1.5", "1e3", "0xG", "--1", "١٢"}) {
        EXPECT_EQ(ParseIniInteger(bad), std::nullopt) << bad;
    }
}

TEST(IniInteger, SignedThirtyTwoBitsOnly) {
    EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseIniInteger("-0x80000000"), INT32_MIN);
    EXPECT_EQ(ParseIniInteger("0x7FFFFFFF"), INT32_MAX);
    EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0x80000000"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("99999999999999999999999999"), std::nullopt);
}

TEST(IniInteger, FileValuesFallBackToTheKeysDefault) {
    const std::string file = "[S]\nhex=0x0A\ndollar=$0A\nempty=\nword=abc\nbig=4294967296\n";
    EXPECT_EQ(ReadFrom(file, "S", "hex", 7), 10);
    EXPECT_EQ(ReadFrom(file, "S", "dollar", 7), 10);
    EXPECT_EQ(ReadFrom(file, "S", "empty", 7), 7);
    EXPECT_EQ(ReadFrom(file, "S", "word", 7), 7);
    EXPECT_EQ(ReadFrom(file, "S", "big", 7), 7);
    EXPECT_EQ(ReadFrom(file, "S", "absent", 7), 7);
    EXPECT_EQ(ReadFrom(file, "Absent", "hex", 7), 7);
}

// The boolean reads as an integer with default 1 or 0; non-zero is true.
TEST(IniBool, NonZeroIsTrue) {
    TempFolder folder;
    WriteBytes(folder.File("s.ini"), "[S]\none=1\nminus=-3\nzero=0\nword=yes\n");
    IniFile ini(folder.File("s.ini"));
    EXPECT_TRUE(ini.ReadBool("S", "one", false));
    EXPECT_TRUE(ini.ReadBool("S", "minus", false));
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "word", true));
    EXPECT_FALSE(ini.ReadBool("S", "word", false));
    EXPECT_FALSE(ini.ReadBool("S", "absent", false));
}

// Names match without regard to case; has-section needs at least one key.
TEST(IniNames, CaseInsensitiveSectionsAndKeys) {
    TempFolder folder;
    WriteBytes(folder.File("s.ini"), "[window]\nLEFT=5\n[Empty]\n[Blank]\nk=\n");
    IniFile ini(folder.File("s.ini"));
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 5);
    EXPECT_EQ(ini.ReadInteger("WINDOW", "left", 0), 5);
    EXPECT_TRUE(ini.HasKey("Window", "left"));
    EXPECT_FALSE(ini.HasKey("Window", "Top"));
    EXPECT_TRUE(ini.HasSection("WINDOW"));
    EXPECT_FALSE(ini.HasSection("Empty"));
    EXPECT_FALSE(ini.HasSection("Absent"));
    EXPECT_TRUE(ini.HasKey("blank", "K"));  // present even though its value is empty
    EXPECT_TRUE(ini.HasSection("blank"));
}

// Of duplicate keys the first counts; a write replaces it where it stands.
TEST(IniNames, FirstOfDuplicateKeysCounts) {
    TempFolder folder;
    WriteBytes(folder.File("s.ini"), "[S]\nk=1\nother=9\nK=2\n");
    IniFile ini(folder.File("s.ini"));
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
    ini.WriteInteger("S", "K", 3);
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 3);
    EXPECT_EQ(ini.Text(), "[S]\nk=3\nother=9\n");
}

// Writing replaces in place with the old spelling, appends new keys and sections, and
// leaves everything unknown as it was.
TEST(IniWrite, ReplaceInPlaceAppendNewAndKeepUnknown) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    WriteBytes(path,
               "; about this file\n\n"
               "[window]\n; where the window was\nleft = 100\nMine=abc\ntop=2\n"
               "[Other]\nx=y z\n");
    {
        IniFile ini(path);
        ini.WriteInteger("Window", "Left", -5);
        ini.WriteInteger("Window", "Width", 640);
        ini.WriteInteger("Character", "Level", 3);
        ini.UpdateFile();
    }
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(WithoutBlankLines(saved),
              "; about this file\n"
              "[window]\n; where the window was\nleft=-5\nMine=abc\ntop=2\nWidth=640\n"
              "[Other]\nx=y z\n"
              "[Character]\nLevel=3\n");
    IniFile(path).UpdateFile();  // saving again changes nothing
    EXPECT_EQ(ReadBytes(path), saved);
}

TEST(IniWrite, CommentsAfterTheLastKeySurvive) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    WriteBytes(path, "[S]\nk=1\n; closing remark\n# and another\n");
    {
        IniFile ini(path);
        ini.WriteInteger("S", "k", 2);
        ini.UpdateFile();
    }
    const std::string once = ReadBytes(path);
    EXPECT_EQ(once, "[S]\nk=2\n; closing remark\n# and another\n");
    IniFile(path).UpdateFile();  // a second save neither loses nor doubles them
    EXPECT_EQ(ReadBytes(path), once);
}

// A file written on Windows (CRLF, UTF-8 byte-order mark) reads like ours.
TEST(IniWindowsFile, CrlfAndByteOrderMark) {
    const std::string file =
        "\xEF\xBB\xBF[Window]\r\nLeft=12\r\nTop=-3\r\n[Character]\r\nLevel=$0A\r\n";
    EXPECT_EQ(ReadFrom(file, "Window", "Left", 0), 12);
    EXPECT_EQ(ReadFrom(file, "Window", "Top", 0), -3);
    EXPECT_EQ(ReadFrom(file, "Character", "Level", 0), 10);
    EXPECT_EQ(ReadFrom("[A]\rk=4\r", "A", "k", 0), 4);  // a lone CR ends a line too
}

// Bad input reads as far as it can and never takes other lines with it.
TEST(IniBadInput, NulBytesDoNotHideTheRestOfTheFile) {
    constexpr char kFile[] = "[A]\nx=1\0junk\nk=5\n[B]\nk\0=6\nm=7\n";
    const std::string file(kFile, sizeof kFile - 1);
    EXPECT_EQ(ReadFrom(file, "A", "k", 0), 5);
    EXPECT_EQ(ReadFrom(file, "A", "x", 0), 0);  // "1 junk" is not a number
    EXPECT_EQ(ReadFrom(file, "B", "m", 0), 7);
}

TEST(IniBadInput, BrokenHeaderAndLinesWithoutEquals) {
    const std::string file = "[A]\nk=1\n[bad\nj=2\n[\n[B]\nnothing here\nk=3\n= 4\n[C\n";
    EXPECT_EQ(ReadFrom(file, "A", "k", 0), 1);
    EXPECT_EQ(ReadFrom(file, "A", "j", 0), 2);  // the broken line is skipped
    EXPECT_EQ(ReadFrom(file, "B", "k", 0), 3);
    TempFolder folder;
    WriteBytes(folder.File("s.ini"), file);
    IniFile ini(folder.File("s.ini"));
    EXPECT_FALSE(ini.HasSection("bad"));
    ini.UpdateFile();
    const std::string saved = ReadBytes(folder.File("s.ini"));
    EXPECT_EQ(WithoutBlankLines(saved), "[A]\nk=1\nj=2\n[B]\nk=3\n");
}

TEST(IniBadInput, ValuesOfAnyLength) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    const std::string longValue(2'000'000, '7');
    WriteBytes(path, "[S]\nlong=" + longValue + "\nk=1\nzeros=" + std::string(5000, '0') + "5\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "long", -1), -1);
    EXPECT_EQ(ini.ReadInteger("S", "zeros", -1), 5);
    ini.WriteInteger("S", "k", 2);
    ini.UpdateFile();
    EXPECT_NE(ReadBytes(path).find("long=" + longValue + "\n"), std::string::npos);
}

TEST(IniBadInput, RandomBytesReadAndSaveWithoutHarm) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<size_t>(rng() % 4000), '\0');
        for (char& c : bytes) {
            // Mostly structure characters, so that sections and keys do occur.
            constexpr char kPick[] = "[]=;#\r\n \t0x$-Ab\0\xff";
            c = rng() % 3 == 0 ? static_cast<char>(rng()) : kPick[rng() % (sizeof kPick - 1)];
        }
        TempFolder folder;
        const std::string path = folder.File("s.ini");
        WriteBytes(path, bytes);
        IniFile ini(path);
        ini.WriteInteger("Window", "Left", round);
        ini.UpdateFile();
        // What the save wrote reads back as it was in memory (blank lines aside).
        IniFile again(path);
        EXPECT_EQ(again.ReadInteger("Window", "Left", -1), round);
        EXPECT_TRUE(WithoutBlankLines(again.Text()) == WithoutBlankLines(ini.Text()))
            << "round " << round;
    }
}

TEST(IniBadInput, FiftyMegabyteFile) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    std::string big;
    big.reserve(52'000'000);
    for (int i = 0; big.size() < 50'000'000; ++i) {
        big += "[Junk" + std::to_string(i) + "]\n";
        for (int k = 0; k < 20; ++k) {
            big += "key" + std::to_string(k) + "=some unknown value that we keep\n";
        }
    }
    big += "[Window]\nLeft=77\n";
    WriteBytes(path, big);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 77);
    ini.WriteInteger("Window", "Left", 78);
    ini.UpdateFile();
    const std::string saved = ReadBytes(path);
    EXPECT_GT(saved.size(), 50'000'000u);
    EXPECT_TRUE(saved.ends_with("[Window]\nLeft=78\n"));
}

// The write goes through a temporary file and a rename: it either replaces the whole
// file or leaves the old one byte for byte, and says which file it could not write.
TEST(IniAtomicWrite, SuccessLeavesNoTemporaryFileAndKeepsPermissions) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    WriteBytes(path, "[S]\nk=1\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    IniFile ini(path);
    ini.WriteInteger("S", "k", 2);
    ini.UpdateFile();  // a read-only file in a writable folder is replaced
    EXPECT_EQ(ReadBytes(path), "[S]\nk=2\n");
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read);
}

TEST(IniAtomicWrite, MissingFolderReportsTheFullPath) {
    TempFolder folder;
    const std::string path = folder.File("no-such-folder/s.ini");
    IniFile ini(path);
    ini.WriteInteger("S", "k", 1);
    try {
        ini.UpdateFile();
        FAIL() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.what(), WriteErrorText(path));
    }
}

TEST(IniAtomicWrite, FolderThatIsAFileReportsTheFullPath) {
    TempFolder folder;
    WriteBytes(folder.File("plain"), "not a folder");
    const std::string path = folder.File("plain/s.ini");
    IniFile ini(path);
    ini.WriteInteger("S", "k", 1);
    EXPECT_THROW(ini.UpdateFile(), EWriteError);
    EXPECT_EQ(ReadBytes(folder.File("plain")), "not a folder");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(IniAtomicWrite, FileThatCannotBeReadIsNeverReplaced) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    std::filesystem::create_directory(path);
    WriteBytes(folder.File("s.ini/inside"), "keep");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "k", 9), 9);
    ini.WriteInteger("S", "k", 1);
    try {
        ini.UpdateFile();
        FAIL() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.what(), WriteErrorText(path));
    }
    EXPECT_EQ(ReadBytes(folder.File("s.ini/inside")), "keep");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(IniAtomicWrite, WriteFailingHalfWayLeavesTheOldFile) {
    TempFolder folder;
    const std::string path = folder.File("s.ini");
    const std::string old = "[S]\nk=1\n";
    WriteBytes(path, old);
    IniFile ini(path);
    for (int i = 0; i < 2000; ++i) {
        ini.WriteInteger("S", "key" + std::to_string(i), i);
    }
    // A file size limit makes write() fail part of the way through, as a full disk does.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    bool threw = false;
    try {
        ini.UpdateFile();
    } catch (const EWriteError& e) {
        threw = true;
        EXPECT_EQ(e.what(), WriteErrorText(path));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.EntryCount(), 1u);
}

// The settings file is named after the running program, with ".ini" for its extension.
TEST(IniPath, NamedAfterTheExecutable) {
    std::string exe(4096, '\0');
    exe.resize(static_cast<size_t>(readlink("/proc/self/exe", exe.data(), exe.size())));
    // The test program has no extension, so ".ini" is appended.
    EXPECT_EQ(SettingsFilePath(), exe + ".ini");
}
