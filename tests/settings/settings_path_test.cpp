#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "engine/errors.h"
#include "settings/settings_path.h"
#include "settings/settings_store.h"
#include "tests/settings/temp_folder.h"

namespace {

struct Situation {
    const char* What;
    const char* Exe;
    bool BesideExists;
    bool BesideWritable;
    const char* XdgConfigHome;
    const char* Home;
    const char* Expected;
};

// The settings file sits beside the program while it is there or can be made there;
// otherwise in the user's configuration folder.
constexpr Situation kSituations[] = {
    {"writable program folder", "/home/u/kestrel/kestrel-simulator", false, true, "", "/home/u",
     "/home/u/kestrel/kestrel-simulator.ini"},
    {"file already beside a read-only program", "/usr/bin/kestrel-simulator", true, false,
     "/home/u/cfg", "/home/u", "/usr/bin/kestrel-simulator.ini"},
    {"file beside and folder writable", "/opt/k/kestrel-simulator", true, true, "/x", "/home/u",
     "/opt/k/kestrel-simulator.ini"},
    {"an extension is replaced", "/opt/k/kestrel-simulator.bin", false, true, "", "/home/u",
     "/opt/k/kestrel-simulator.ini"},
    {"installed, XDG set", "/usr/bin/kestrel-simulator", false, false, "/home/u/cfg", "/home/u",
     "/home/u/cfg/kestrel-simulator/kestrel-simulator.ini"},
    {"installed, XDG with a trailing slash", "/usr/bin/kestrel-simulator", false, false,
     "/home/u/cfg/", "/home/u", "/home/u/cfg/kestrel-simulator/kestrel-simulator.ini"},
    {"installed, XDG unset or empty", "/usr/bin/kestrel-simulator", false, false, "", "/home/u",
     "/home/u/.config/kestrel-simulator/kestrel-simulator.ini"},
    {"installed, XDG relative", "/usr/bin/kestrel-simulator", false, false, "cfg", "/home/u",
     "/home/u/.config/kestrel-simulator/kestrel-simulator.ini"},
    {"installed, XDG relative with a dot", "/usr/bin/kestrel-simulator", false, false, "./cfg",
     "/root", "/root/.config/kestrel-simulator/kestrel-simulator.ini"},
    {"installed, XDG set, no home", "/usr/bin/kestrel-simulator", false, false, "/tmp/c", "",
     "/tmp/c/kestrel-simulator/kestrel-simulator.ini"},
    {"program path unknown", "", false, false, "", "/home/u",
     "/home/u/.config/kestrel-simulator/kestrel-simulator.ini"},
    {"program path unknown, beside flags ignored", "", true, true, "/c", "/home/u",
     "/c/kestrel-simulator/kestrel-simulator.ini"},
    {"no absolute folder anywhere", "/usr/bin/kestrel-simulator", false, false, "cfg", "home", ""},
    {"nothing known", "", false, false, "", "", ""},
};

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

}  // namespace

TEST(SettingsPath, ChosenByTheSituation) {
    for (const Situation& s : kSituations) {
        EXPECT_EQ(
            ChooseSettingsPath(s.Exe, s.BesideExists, s.BesideWritable, s.XdgConfigHome, s.Home),
            s.Expected)
            << s.What;
    }
}

// Over every combination: beside the program exactly when it is known and a file is there
// or can be made there; otherwise an absolute path in a folder of the program's own.
TEST(SettingsPath, EveryCombinationGivesBesideOrAnAbsoluteConfigPath) {
    const char* exes[] = {"", "/usr/bin/kestrel-simulator", "/a b/k.exe", "rel/kestrel"};
    const char* folders[] = {"", "/c", "/c/", "c", "~/c", "/home/u/.config"};
    for (const char* exe : exes) {
        for (int flags = 0; flags < 4; ++flags) {
            for (const char* xdg : folders) {
                for (const char* home : folders) {
                    const bool exists = (flags & 1) != 0;
                    const bool writable = (flags & 2) != 0;
                    const std::filesystem::path got =
                        ChooseSettingsPath(exe, exists, writable, xdg, home);
                    const std::string where =
                        std::string(exe) + "|" + std::to_string(flags) + "|" + xdg + "|" + home;
                    if (exe[0] != '\0' && (exists || writable)) {
                        EXPECT_EQ(got.parent_path(), std::filesystem::path(exe).parent_path())
                            << where;
                        EXPECT_EQ(got.extension(), ".ini") << where;
                    } else if (got.empty()) {
                        EXPECT_FALSE(xdg[0] == '/' || home[0] == '/') << where;
                    } else {
                        EXPECT_TRUE(got.is_absolute()) << where;
                        EXPECT_EQ(got.filename(), "kestrel-simulator.ini") << where;
                        EXPECT_EQ(got.parent_path().filename(), "kestrel-simulator") << where;
                        const std::string base = xdg[0] == '/' ? xdg : std::string(home);
                        EXPECT_TRUE(got.string().starts_with(base)) << where;
                    }
                }
            }
        }
    }
}

// The folder appears with the store's first write, for the user alone (a store on an
// explicit path still fails without it); folders that exist keep their permissions,
// and a file in the way leaves the write to fail.
TEST(SettingsPath, FolderCreatedForTheWrite) {
    TempFolder root;
    const std::filesystem::path config = root.Path() / "home" / ".config";
    const std::string path = (config / "kestrel-simulator" / "kestrel-simulator.ini").string();
    EXPECT_THROW(FileStore(path).Replace("[Window]\n"), EWriteError);
    EXPECT_FALSE(std::filesystem::exists(config));

    FileStore(path, FileStore::MissingFolder::Create).Replace("[Window]\n");
    EXPECT_EQ(ModeOf(root.Path() / "home"), 0700);
    EXPECT_EQ(ModeOf(config), 0700);
    EXPECT_EQ(ModeOf(config / "kestrel-simulator"), 0700);
    EXPECT_EQ(ReadBytes(path), "[Window]\n");

    // Again: nothing changes, the file stays.
    std::filesystem::permissions(config, std::filesystem::perms(0755));
    CreateSettingsFolder(path);
    EXPECT_EQ(ModeOf(config), 0755);
    EXPECT_EQ(ReadBytes(path), "[Window]\n");

    const std::string blocked = root.File("plain") + "/kestrel-simulator/kestrel-simulator.ini";
    WriteBytes(root.File("plain"), "a file, not a folder");
    CreateSettingsFolder(blocked);
    EXPECT_EQ(ReadBytes(root.File("plain")), "a file, not a folder");
    EXPECT_THROW(WriteFileAtomically(blocked, "x"), EWriteError);
    CreateSettingsFolder("kestrel-simulator.ini");  // no folder to make
}
