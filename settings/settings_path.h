#pragma once

#include <string>

// The settings file. Beside the executable (its path with the extension replaced by
// ".ini") when a file is already there or the program's folder is writable; otherwise,
// as for a program installed in a system folder, the user's configuration folder:
// $XDG_CONFIG_HOME/kestrel-simulator/kestrel-simulator.ini, or ~/.config/... when
// XDG_CONFIG_HOME is unset, empty or not an absolute path. Worked out anew by each
// operation; looking it up creates nothing.
std::string SettingsFilePath();

// The rule of SettingsFilePath over what it looked up: the executable's path (empty
// when unknown), whether a settings file exists beside it, whether its folder is
// writable, XDG_CONFIG_HOME and the home folder. Empty when no path can be made.
std::string ChooseSettingsPath(const std::string& exePath, bool besideExists, bool besideWritable,
                               const std::string& xdgConfigHome, const std::string& home);

// Creates the missing folders above the settings file `path` (as mkdir -p, each new
// folder only for the user, mode 0700). Call it when the file is about to be written,
// so that the configuration folder appears with the first save. A failure is left to
// the write, which then reports that the file cannot be written.
void CreateSettingsFolder(const std::string& path);
