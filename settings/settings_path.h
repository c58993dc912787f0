#pragma once

#include <string>

// The settings file: the running executable's path with its extension replaced by
// ".ini", worked out anew by each operation.
std::string SettingsFilePath();
