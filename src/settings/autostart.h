#pragma once

#include <string>

// Autostart is a shortcut "Tellurix.lnk" in the user's Startup folder. Its
// presence is the whole state; while the program runs, the state is which of
// the two autostart buttons is visible.
namespace tellurix {

// Where the shortcut lies; empty when the Startup folder cannot be found.
std::string autostartShortcutPath();

// Start-up, after the controls are built: anything (file or folder) at the
// shortcut path shows the "on" button.
void showAutostartState();
// Writes the shortcut and shows the "on" button.
void enableAutostart();
// Deletes the shortcut file and shows the "off" button.
void disableAutostart();

}  // namespace tellurix
