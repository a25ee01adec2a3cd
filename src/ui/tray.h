#pragma once

#include <string>
#include <string_view>

namespace tellurix {

// The tray icon (image 8, the display name as tip) for the main window. It
// comes back by itself when the shell restarts, until removeTrayIcon.
void addTrayIcon();
// Popup menu 1 with "Anzeigen", "Verstecken" and "Beenden" (items 2 to 4).
// False when the menu could not be made with all three.
[[nodiscard]] bool buildTrayMenu();
// Right press on the tray icon: the menu at the mouse position.
void showTrayMenu();
void removeTrayIcon();
// A balloon from the tray icon saying `notice`, unless it is empty or the very
// text `told` holds (it was said last time); `told` holds it from then on.
void tellOnce(std::string& told, std::string_view title, std::string notice);

// `text` cut to what the notification area shows (whole characters).
std::string trayTip(std::string_view text);

}  // namespace tellurix
