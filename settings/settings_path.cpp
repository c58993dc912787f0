#include <unistd.h>

#include <filesystem>
#include <string>

#include "settings/settings_path.h"

std::string SettingsFilePath() {
    std::string exe(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0 || static_cast<size_t>(n) >= exe.size()) {
        return {};  // reads then see no file, and a write reports the failure
    }
    exe.resize(static_cast<size_t>(n));
    // A program file replaced while it runs reads back as "<path> (deleted)".
    constexpr std::string_view kDeleted = " (deleted)";
    if (exe.ends_with(kDeleted)) {
        exe.resize(exe.size() - kDeleted.size());
    }
    return std::filesystem::path(exe).replace_extension(".ini").string();
}
