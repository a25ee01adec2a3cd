#include "ui/tray.h"

#include <array>

#include "core/identity.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/tray.h"
#include "platform/screen.h"
#include "ui/tray_menu_layout.h"

namespace tellurix {
namespace {

struct TrayMenuEntry {
    int item;
    std::string_view text;
};

// Top to bottom.
constexpr std::array kTrayMenuEntries{
    TrayMenuEntry{kMenuShow, "Anzeigen"},
    TrayMenuEntry{kMenuHide, "Verstecken"},
    TrayMenuEntry{kMenuQuit, "Beenden"},
};

void registerTrayIcon()
{
    platform::addTrayIcon(kTrayIcon, kMainWindow, kTrayImage, trayTip(displayName()));
}

}  // namespace

std::string trayTip(std::string_view text)
{
    return std::string(text.substr(0, codePointPrefixSize(text, platform::kTrayTipLength)));
}

void addTrayIcon()
{
    registerTrayIcon();
    // After an Explorer restart the new notification area knows no icons:
    // register ours again, or the user loses the way back to the bar.
    platform::setTrayRestartHandler(registerTrayIcon);
}

void buildTrayMenu()
{
    if (!platform::createPopupMenu(kTrayMenu))
        return;
    for (const TrayMenuEntry& entry : kTrayMenuEntries)
        platform::appendMenuItem(kTrayMenu, entry.item, entry.text,
                                 trayMenuItemLayout(platform::menuTextSize(entry.text), platform::screenDpi()));
}

void showTrayMenu()
{
    if (!platform::hasMenu(kTrayMenu))
        return;
    platform::Point at = platform::cursorPosition();
    at.x -= 1;
    at.y -= 1;
    // The colours follow the system's, which may have changed since start-up.
    platform::setMenuLook(kTrayMenu, trayMenuLook(platform::systemMenuPalette(), platform::screenDpi()));
    platform::showPopupMenu(kTrayMenu, kMainWindow, at);
}

void removeTrayIcon()
{
    platform::setTrayRestartHandler(nullptr);
    platform::removeTrayIcon(kTrayIcon);
}

void tellOnce(std::string& told, std::string_view title, std::string notice)
{
    if (notice.empty() || notice == told)
        return;
    platform::showTrayBalloon(kTrayIcon, title, notice);
    told = std::move(notice);
}

}  // namespace tellurix
