#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/colour.h"
#include "platform/geometry.h"

// The notification-area icon and owner-drawn popup menus, addressed by number.
// The program decides what the menu looks like (MenuLook, MenuItemLayout); the
// toolkit only measures text and paints what it is told.
namespace tellurix::platform {

// --- Tray icon --------------------------------------------------------------

// The notification area keeps tips of at most this many characters.
inline constexpr std::size_t kTrayTipLength = 63;

// Puts icon `icon` into the notification area for `window`, showing image
// `image` with the tip `tip` (cut to kTrayTipLength characters). Presses on it
// arrive as tray events carrying `icon`. False when the shell refused it, for
// instance because the icon is there already.
[[nodiscard]] bool addTrayIcon(int icon, int window, int image, std::string_view tip);
void removeTrayIcon(int icon);
// A balloon from the tray icon with a title, the information icon and a text,
// shown without blocking anything; the shell hides it by itself.
void showTrayBalloon(int icon, std::string_view title, std::string_view text);
// Called on the GUI thread when the notification area has been created anew
// (the shell restarted) and has forgotten every icon. Null: nobody is told.
void setTrayRestartHandler(void (*handler)());

// --- Owner-drawn popup menus ------------------------------------------------

// The system colours a menu is drawn with.
struct MenuPalette {
    Rgb highlight;
    Rgb highlightText;
    Rgb menu;
    Rgb menuText;
};

// The shaded column at the left edge of every item, one colour per pixel strip.
inline constexpr int kMenuColumnWidth = 20;

struct MenuLook {
    // Width in pixels of the shaded column; its colours are spread over it.
    int columnWidth = kMenuColumnWidth;
    // Items that are not under the mouse.
    Rgb background;
    Rgb text;
    std::array<Rgb, kMenuColumnWidth> column{};
    // The item under the mouse: filled, framed with one pixel, no column.
    Rgb hotFill;
    Rgb hotFrame;
    Rgb hotText;
};

// Size of one item and where its text starts, relative to the item's top left.
struct MenuItemLayout {
    Size size;
    Point textOffset;
};

MenuPalette systemMenuPalette();
// Size of a single line of text in the system's menu font.
Size menuTextSize(std::string_view text);

// An empty popup menu whose items are drawn by the toolkit with a MenuLook.
[[nodiscard]] bool createPopupMenu(int menu);
bool hasMenu(int menu);
// Appends item `item` (the number its menu event carries) with its text.
[[nodiscard]] bool appendMenuItem(int menu, int item, std::string_view text, MenuItemLayout layout);
void setMenuLook(int menu, const MenuLook& look);

// Makes `window` the foreground window, without showing it, and opens the
// menu owned by it with its top left corner at `at` (screen coordinates).
// Without the foreground the menu would not close when the user clicks
// elsewhere. Either mouse button picks an item; the pick arrives later as a
// menu event with the item's number.
void showPopupMenu(int menu, int window, Point at);

}  // namespace tellurix::platform
