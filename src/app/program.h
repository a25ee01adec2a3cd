#pragma once

#include "core/hotkey_chord.h"
#include "core/settings.h"

namespace tellurix {

// The values loaded at start-up and saved at quit.
Settings& programSettings();

// Start-up steps up to the event loop. False when the main window could not be
// created (nothing else has been done then).
bool startUp();
// A window moved to a monitor of another scale (or the scale changed): the
// pictures are made anew and the windows laid out for their DPI.
void onDpiChanged(int window);
// Reads the own sites and keywords again when the settings file changed on
// disk since they were read (the bar is being shown).
void refreshOwnSites();
// The chord that calls up the bar now.
HotkeyChord currentHotkeyChord();
// Writes the current site, the design and the first-start flag to the
// settings file (at quit, and when the Windows session ends).
void saveCurrentSettings();
// Orderly end: save the settings, then shut down.
[[noreturn]] void quit();
// Releases everything and exits with code 0.
[[noreturn]] void shutdown();

}  // namespace tellurix
