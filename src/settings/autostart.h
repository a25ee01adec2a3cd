#pragma once

#include <string>

// Autostart is a shortcut "Tellurix.lnk" in the user's Startup folder. Its
// presence is the whole state.
namespace tellurix {

// Where the shortcut lies; empty when the Startup folder cannot be found.
std::string autostartShortcutPath();

// Anything (file or folder) at the shortcut path counts as on.
bool isAutostartOn();
// Writes the shortcut; returns whether autostart is on now (a shortcut that
// could not be written leaves it off).
[[nodiscard]] bool enableAutostart();
// Deletes the shortcut file; returns whether autostart is still on (something
// the program may not delete stands there).
[[nodiscard]] bool disableAutostart();

}  // namespace tellurix
