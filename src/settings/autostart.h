#pragma once

#include <string>

// Autostart is a shortcut "Tellurix.lnk" in the user's Startup folder. Its
// presence is the whole state.
namespace tellurix {

// Where the shortcut lies; empty when the Startup folder cannot be found.
std::string autostartShortcutPath();

// Anything (file or folder) at the shortcut path counts as on.
bool isAutostartOn();
// Writes the shortcut; the state to show from now on: on.
bool enableAutostart();
// Deletes the shortcut file; the state to show from now on: off.
bool disableAutostart();

}  // namespace tellurix
