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
    // The settings file or the history file is there but could not be read
    // (another program holds it, a disk error): nothing is written over it, and
    // each bring-up tries it again.
    bool settingsUnread = false;
    bool historyUnread = false;
    // The balloons last shown about the settings file, each told only once.
    std::string toldSkipped;
    std::string toldHotkey;
    std::string toldUnread;  // about files that cannot be read
    std::string toldFiles;   // about files that cannot be made, written or deleted
    // False while the tray menu lacks an item: the next right click makes it anew.
    bool trayMenuBuilt = false;
};

// Start-up steps up to the event loop. False when the main window or the bar's
// controls could not be created (the program must end then).
bool startUp(Program& program);
// A window moved to a monitor of another scale (or the scale changed): the
// pictures are made anew and the windows laid out for their DPI.
void onDpiChanged(Program& program, int window);
// The bar is being shown: own sites, keywords and the chord are read again
// when the settings file changed on disk since they were read, and a file that
// could not be read is tried again.
void refreshFromSettingsFile(Program& program);
// Writes the current site, the design and the first-start flag to the
// settings file (at quit, and when the Windows session ends). False when they
// could not be saved; nothing is written while the file is unreadable (the
// user was told so) and that is no failure.
[[nodiscard]] bool saveCurrentSettings(Program& program);
// The history file follows the history; a failure is told once.
void saveHistoryFile(Program& program);
// Ctrl+Shift+Delete said yes: the history and its file go. A file that stays
// is told.
void clearHistoryFile(Program& program);
// Orderly end: save the settings, then shut down. When they cannot be saved
// the user is asked first, and may stay.
void quit(Program& program);
// The end without asking: the settings are saved if they can be.
[[noreturn]] void quitNow(Program& program);
// Releases everything and exits with code 0.
[[noreturn]] void shutdown();

}  // namespace tellurix
