#pragma once

#include <optional>
#include <string>

#include "app/hotkey.h"
#include "app/suggestions.h"
#include "core/settings.h"
#include "platform/files.h"
#include "search/search_bar.h"
#include "ui/designs.h"
#include "ui/site_picker.h"

namespace tellurix {

// Everything the running program knows, from start-up to its end. Each test
// makes one of its own.
struct Program {
    // The values loaded at start-up and saved at quit.
    Settings settings;
    SearchBar bar;
    Designs designs;
    SitePicker picker;
    HotkeyState hotkey;
    WebSuggestions web;
    // The settings file as it was when last read (own sites, keywords, chord).
    std::optional<platform::FileStamp> settingsRead;
    // The balloons last shown about the settings file, each told only once.
    std::string toldSkipped;
    std::string toldHotkey;
};

// Start-up steps up to the event loop. False when the main window or the bar's
// controls could not be created (the program must end then).
bool startUp(Program& program);
// A window moved to a monitor of another scale (or the scale changed): the
// pictures are made anew and the windows laid out for their DPI.
void onDpiChanged(Program& program, int window);
// The bar is being shown: own sites, keywords and the chord are read again
// when the settings file changed on disk since they were read.
void refreshFromSettingsFile(Program& program);
// Writes the current site, the design and the first-start flag to the
// settings file (at quit, and when the Windows session ends).
void saveCurrentSettings(Program& program);
// The history file follows the history.
void saveHistoryFile(const Program& program);
// Orderly end: save the settings, then shut down.
[[noreturn]] void quit(Program& program);
// Releases everything and exits with code 0.
[[noreturn]] void shutdown();

}  // namespace tellurix
