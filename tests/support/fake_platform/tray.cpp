#include <map>
#include <optional>
#include <string>

#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"
#include "platform/tray.h"

namespace tellurix::platform {
namespace {

struct TrayState {
    std::map<int, fake::TrayIconState> icons;
    int addAttempts = 0;
    int failingAdds = 0;
    void (*restartHandler)() = nullptr;
    std::map<int, fake::MenuState> menus;
    bool failMenus = false;
    int charWidth = 7;
    int textHeight = 13;
    // Windows 10's defaults.
    MenuPalette palette{{0, 120, 215}, {255, 255, 255}, {240, 240, 240}, {0, 0, 0}};
    Point cursor;
    std::vector<fake::ShownMenu> shown;
    std::vector<fake::Balloon> balloons;
    std::optional<int> nextPick;
};

TrayState& tray()
{
    static TrayState instance;
    return instance;
}

fake::MenuState* findMenu(int number)
{
    auto it = tray().menus.find(number);
    return it == tray().menus.end() ? nullptr : &it->second;
}

}  // namespace

bool addTrayIcon(int icon, int window, int image, std::string_view tip)
{
    TrayState& t = tray();
    ++t.addAttempts;
    if (t.failingAdds > 0) {
        --t.failingAdds;
        return false;
    }
    // Like the shell: an icon needs a live window, and an id is added once.
    if (!isWindowOpen(window) || t.icons.count(icon))
        return false;
    t.icons[icon] = {window, image, std::string(tip.substr(0, 63)), fake::callLog().size()};
    return true;
}

void removeTrayIcon(int icon)
{
    tray().icons.erase(icon);
}

void showTrayBalloon(int icon, std::string_view title, std::string_view text)
{
    if (tray().icons.count(icon))
        tray().balloons.push_back({std::string(title), std::string(text)});
}

void setTrayRestartHandler(void (*handler)())
{
    tray().restartHandler = handler;
}

MenuPalette systemMenuPalette()
{
    return tray().palette;
}

Size menuTextSize(std::string_view text)
{
    return {tray().charWidth * static_cast<int>(text.size()), tray().textHeight};
}

bool createPopupMenu(int menu)
{
    if (tray().failMenus)
        return false;
    tray().menus[menu] = {};
    tray().menus[menu].callsBefore = fake::callLog().size();
    return true;
}

bool hasMenu(int menu)
{
    return findMenu(menu) != nullptr;
}

bool appendMenuItem(int menu, int item, std::string_view text, MenuItemLayout layout)
{
    fake::MenuState* m = findMenu(menu);
    if (!m)
        return false;
    m->items.push_back({item, std::string(text), layout});
    return true;
}

void setMenuLook(int menu, const MenuLook& look)
{
    if (fake::MenuState* m = findMenu(menu)) {
        m->look = look;
        m->lookSet = true;
    }
}

Point cursorPosition()
{
    return tray().cursor;
}

void showPopupMenu(int menu, int window, Point at)
{
    fake::MenuState* m = findMenu(menu);
    if (!m || !isWindowOpen(window))
        return;
    setForegroundWindow(window);
    tray().shown.push_back({menu, window, at, m->look, foregroundWindow()});
    if (tray().nextPick) {
        fake::queueEvent({EventKind::Menu, *tray().nextPick, EventSubtype::None});
        tray().nextPick.reset();
    }
}

namespace fake {

void resetTray()
{
    tray() = TrayState{};
}

const std::vector<Balloon>& balloons()
{
    return tray().balloons;
}

void releaseMenus()
{
    tray().menus.clear();
}

const TrayIconState* trayIcon(int icon)
{
    auto it = tray().icons.find(icon);
    return it == tray().icons.end() ? nullptr : &it->second;
}

int trayIconAddAttempts()
{
    return tray().addAttempts;
}

void failTrayIconAdds(int count)
{
    tray().failingAdds = count;
}

void restartNotificationArea()
{
    tray().icons.clear();
    if (tray().restartHandler)
        tray().restartHandler();
}

const MenuState* menu(int number)
{
    return findMenu(number);
}

void failMenuCreation(bool fail)
{
    tray().failMenus = fail;
}

void setMenuTextMetrics(int charWidth, int height)
{
    tray().charWidth = charWidth;
    tray().textHeight = height;
}

void setMenuPalette(const MenuPalette& palette)
{
    tray().palette = palette;
}

void setCursorPosition(Point at)
{
    tray().cursor = at;
}

const std::vector<ShownMenu>& shownMenus()
{
    return tray().shown;
}

void pickFromNextMenu(int item)
{
    tray().nextPick = item;
}

}  // namespace fake
}  // namespace tellurix::platform
