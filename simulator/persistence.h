#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "simulator/simulator.h"

// The load (window creation and the revert button): reads every value of the store
// into the selection, sets up the selected club set and recalculates.
void FormCreate(TSimulator& sim, SettingsStore& store);

// The save: writes the whole selection and the PP baselines, then loads again.
// sim.Window must hold the window's current position.
void Button1Click(TSimulator& sim, SettingsStore& store);

// The close: writes only the window position and the active page.
void FormClose(TSimulator& sim, SettingsStore& store);

// The part of a settings text that only a save changes: `text` with what a close writes
// (the window position, the active page) set to fixed values. Two texts with the same
// saved part differ only in what closes wrote into them.
std::string SavedPart(std::string_view text);

// The same on the settings file at `path`.
void FormCreate(TSimulator& sim, const std::string& path);
void Button1Click(TSimulator& sim, const std::string& path);
void FormClose(TSimulator& sim, const std::string& path);
