#pragma once

namespace tellurix {

void addTrayIcon();
void buildTrayMenu();
// Right press on the tray icon: the menu at the mouse position.
void showTrayMenu();
void removeTrayIcon();

}  // namespace tellurix
