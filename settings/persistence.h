#pragma once

#include <string>

struct TSimulator;

// The settings file: the running executable's path with its extension replaced by
// ".ini", worked out anew by each operation.
std::string SettingsFilePath();

// The load (window creation and the revert button): reads every value of the file
// into the selection, sets up the selected club set and recalculates.
void FormCreate(TSimulator& sim);
void FormCreate(TSimulator& sim, const std::string& iniPath);

// The save: writes the whole selection and the PP baselines, then loads again.
// sim.Window must hold the window's current position.
void Button1Click(TSimulator& sim);
void Button1Click(TSimulator& sim, const std::string& iniPath);

// The close: writes only the window position and the active page.
void FormClose(TSimulator& sim);
void FormClose(TSimulator& sim, const std::string& iniPath);
