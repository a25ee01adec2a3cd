#include "ui/tray.h"

#include <array>

#include "core/identity.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/trace.h"
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
    // Windows refuses the icon while there is no notification area yet (an
    // early autostart): the restart handler below adds it as soon as the
    // taskbar is there.
    if (!platform::addTrayIcon(kTrayIcon, kMainWindow, kTrayImage, trayTip(displayName())))
        platform::markStep("tray icon refused, waiting for the taskbar");
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

bool buildTrayMenu()
{
    if (!platform::createPopupMenu(kTrayMenu))
        return false;
    bool complete = true;
    for (const TrayMenuEntry& entry : kTrayMenuEntries)
        complete =
            platform::appendMenuItem(kTrayMenu, entry.item, entry.text,
                                     trayMenuItemLayout(platform::menuTextSize(entry.text), platform::screenDpi())) &&
            complete;
    return complete;
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
