#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/tray.h"

// The in-memory notification area and popup menus of the unit tests.
namespace tellurix::platform::fake {

struct TrayIconState {
    int window = 0;
    int image = 0;
    std::string tip;
    // Length of the toolkit's call log when the icon was added: the call just
    // before it is callLog()[callsBefore - 1].
    std::size_t callsBefore = 0;
};

struct MenuItemState {
    int item = 0;
    std::string text;
    MenuItemLayout layout;
};

struct MenuState {
    std::vector<MenuItemState> items;
    // Length of the toolkit's call log when the menu was created.
    std::size_t callsBefore = 0;
    MenuLook look;
    bool lookSet = false;
};

// One opening of a popup menu.
struct ShownMenu {
    int menu = 0;
    int window = 0;
    Point at;
    MenuLook look;
    // The program's foreground window while the menu was open.
    int foreground = kNoWindow;
};

void resetTray();

struct Balloon {
    std::string title;
    std::string text;
};
// Every balloon shown from a tray icon, oldest first.
const std::vector<Balloon>& balloons();
// What releaseAll frees of the tray: the menus (the icon is the program's to remove).
void releaseMenus();

// Null when the icon is not in the notification area.
const TrayIconState* trayIcon(int icon);
// Every addTrayIcon call, successful or not.
int trayIconAddAttempts();
// The next `count` addTrayIcon calls fail as if the shell were not there yet.
void failTrayIconAdds(int count);
// The shell restarts: every icon is gone, then the restart handler runs.
void restartNotificationArea();

const MenuState* menu(int number);
void failMenuCreation(bool fail);
// menuTextSize answers `charWidth` pixels a byte and `height` pixels.
void setMenuTextMetrics(int charWidth, int height);
void setMenuPalette(const MenuPalette& palette);
void setCursorPosition(Point at);
const std::vector<ShownMenu>& shownMenus();
// The user picks `item` from the next menu shown: its menu event is queued.
void pickFromNextMenu(int item);

}  // namespace tellurix::platform::fake
