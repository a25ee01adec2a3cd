#pragma once

#include <string>
#include <string_view>

namespace tellurix {

// The tray icon (image 8, the display name as tip) for the main window. It
// comes back by itself when the shell restarts, until removeTrayIcon.
void addTrayIcon();
// Popup menu 1 with "Anzeigen", "Verstecken" and "Beenden" (items 2 to 4).
void buildTrayMenu();
// Right press on the tray icon: the menu at the mouse position.
void showTrayMenu();
void removeTrayIcon();

// `text` cut to what the notification area shows (whole characters).
std::string trayTip(std::string_view text);

}  // namespace tellurix
