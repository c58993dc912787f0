#include "settings/settings_path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace {

constexpr std::string_view kFolderName = "kestrel-simulator";
constexpr std::string_view kFileName = "kestrel-simulator.ini";

std::string ExecutablePath() {
    std::string exe(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0 || static_cast<size_t>(n) >= exe.size()) {
        return {};
    }
    exe.resize(static_cast<size_t>(n));
    // A program file replaced while it runs reads back as "<path> (deleted)".
    constexpr std::string_view kDeleted = " (deleted)";
    if (exe.ends_with(kDeleted)) {
        exe.resize(exe.size() - kDeleted.size());
    }
    return exe;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : std::string();
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : std::string();
}

}  // namespace

std::string ChooseSettingsPath(const std::string& exePath, bool besideExists, bool besideWritable,
                               const std::string& xdgConfigHome, const std::string& home) {
    namespace fs = std::filesystem;
    if (!exePath.empty() && (besideExists || besideWritable)) {
        return fs::path(exePath).replace_extension(".ini").string();
    }
    fs::path config;
    if (fs::path(xdgConfigHome).is_absolute()) {
        config = xdgConfigHome;
    } else if (fs::path(home).is_absolute()) {
        config = fs::path(home) / ".config";
    } else {
        return {};  // reads then see no file, and a write reports the failure
    }
    return (config / kFolderName / kFileName).string();
}

std::string SettingsFilePath() {
    namespace fs = std::filesystem;
    const std::string exe = ExecutablePath();
    bool exists = false;
    bool writable = false;
    if (!exe.empty()) {
        const fs::path beside = fs::path(exe).replace_extension(".ini");
        std::error_code error;
        exists = fs::exists(beside, error);
        writable = access(beside.parent_path().c_str(), W_OK) == 0;
    }
    return ChooseSettingsPath(exe, exists, writable, Env("XDG_CONFIG_HOME"), HomeFolder());
}

void CreateSettingsFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        return;
    }
    // Top down, so that every folder this makes gets mode 0700 from mkdir itself and
    // is never open to others, not even for a moment.
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        struct stat info {};
        if (mkdir(partial.c_str(), 0700) != 0 &&
            (stat(partial.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
            return;
        }
    }
}
