#include "app/main_window.h"

#include <array>
#include <string_view>

#include "core/identity.h"
#include "core/numbers.h"
#include "core/scale.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/screen.h"
#include "platform/windows.h"
#include "ui/bar_view.h"
#include "ui/designs.h"
#include "ui/notices.h"

namespace tellurix {
namespace {

using platform::ControlKind;

struct ImageButton {
    int control;
    int x;
    int image;
    bool initiallyHidden;
    std::string_view tipTitle;
    std::string_view tipText;
};

// In creation order; 3/4 and 8/9 share a place, one of each pair is visible.
constexpr std::array<ImageButton, 7> kImageButtons{{
    {kTopmostOnButton, 380, 6, false, "In den Vordergrund setzen",
     "Wenn Sie diese Option aktivieren, dann bleibt dieses Fenster dauerhaft im Vordergrund."},
    {kTopmostOffButton, 380, 5, true, "Nicht in den Vordergrund setzen",
     "Wenn Sie diese Option deaktivieren, dann bleibt dieses Fenster nicht mehr dauerhaft im Vordergrund."},
    {kDesignButton, 410, 2, false, "Design wechseln", "Hier können Sie das Design des Programms ändern."},
    {kInfoButton, 470, 3, false, "Informationen", "Weitere Informationen des Programms finden Sie hier."},
    {kQuitButton, 500, 7, false, "Beenden", "Das Programm wird beendet."},
    {kAutostartOffButton, 440, 1, true, "Autostart deaktivieren",
     "Das Programm wird beim Windows-Start nicht mehr automatisch gestartet."},
    {kAutostartOnButton, 440, 4, false, "Autostart aktivieren",
     "Das Programm wird beim Windows-Start automatisch gestartet."},
}};

constexpr int kButtonY = 10;
constexpr int kButtonCreateSize = 20;
constexpr int kFontPoints = 12;
constexpr int kFontWeightNormal = 400;
constexpr int kInformationIcon = 1;

// At 96 DPI; every place is scaled to the bar's DPI.
constexpr platform::Rect kSiteLabelRect{10, 10, 150, 20};
constexpr platform::Rect kSearchFieldRect{170, 10, 200, 20};

platform::Rect buttonRect(const ImageButton& button)
{
    return {button.x, kButtonY, kButtonCreateSize, kButtonCreateSize};
}

platform::Size clientSize(int dpi)
{
    return {scaled(kMainClientWidth, dpi), scaled(kMainClientHeight, dpi)};
}

void makeSearchFieldFont(int dpi)
{
    if (platform::createFont(kSearchFieldFont, kFontPoints, kFontWeightNormal, dpi))
        platform::setControlFont(kSearchField, kSearchFieldFont);
}

}  // namespace

platform::Point centredPosition(platform::Size screen, platform::Size outer)
{
    const int width = outer.width > screen.width ? screen.width : outer.width;
    const int height = outer.height > screen.height ? screen.height : outer.height;
    return {(screen.width - width) / 2, (screen.height - height) / 2};
}

bool createMainWindow()
{
    using namespace platform;
    const int dpi = screenDpi();
    const Size outer = outerSize(WindowKind::MainBar, clientSize(dpi), dpi);
    const Point at = centredPosition(screenSize(), outer);
    return createWindow(kMainWindow, WindowKind::MainBar, displayName(), {at.x, at.y, outer.width, outer.height});
}

bool buildMainWindowControls(Designs& designs)
{
    using namespace platform;
    const int dpi = windowDpi(kMainWindow);
    bool built = createControl(kMainWindow, kSiteLabel, ControlKind::SiteLabel, scaledRect(kSiteLabelRect, dpi), "");
    built = createControl(kMainWindow, kSearchField, ControlKind::SearchField, scaledRect(kSearchFieldRect, dpi),
                          kPlaceholder) &&
            built;
    makeSearchFieldFont(dpi);
    registerReturnShortcut(kMainWindow, kMenuReturn);
    takeSearchFieldKeys(false);

    for (const ImageButton& button : kImageButtons) {
        built = createControl(kMainWindow, button.control, ControlKind::ImageButton,
                              scaledRect(buttonRect(button), dpi), "") &&
                built;
        platform::setControlImage(button.control, button.image);
        if (button.initiallyHidden)
            showControl(button.control, false);
    }
    installColourHook(designs);
    invalidateWindow(kMainWindow);
    return built;
}

void addButtonTips()
{
    for (const ImageButton& button : kImageButtons)
        addBalloonTip(button.control, button.tipText, button.tipTitle, kInformationIcon);
}

void layOutMainWindow()
{
    using namespace platform;
    const int dpi = windowDpi(kMainWindow);
    // The client area exactly at the new scale, where the window stands now.
    const Rect now = windowRect(kMainWindow);
    const Size outer = outerSize(WindowKind::MainBar, clientSize(dpi), dpi);
    moveWindow(kMainWindow, {now.x, now.y, outer.width, outer.height});
    moveControl(kSiteLabel, scaledRect(kSiteLabelRect, dpi));
    moveControl(kSearchField, scaledRect(kSearchFieldRect, dpi));
    makeSearchFieldFont(dpi);
    for (const ImageButton& button : kImageButtons) {
        moveControl(button.control, scaledRect(buttonRect(button), dpi));
        // The pictures were made anew for the scale.
        setControlImage(button.control, button.image);
    }
    invalidateWindow(kMainWindow);
}

void placeOnCursorMonitor()
{
    using namespace platform;
    const Rect target = workAreaAt(cursorPosition());
    if (target == workAreaOf(kMainWindow))
        return;
    const Rect bar = windowRect(kMainWindow);
    const Point at = centredPosition({target.width, target.height}, {bar.width, bar.height});
    moveWindow(kMainWindow, {target.x + at.x, target.y + at.y, bar.width, bar.height});
}

void bringUpMainWindow()
{
    placeOnCursorMonitor();
    platform::bringToFront(kMainWindow);
}

void hideMainWindow()
{
    platform::hideWindow(kMainWindow);
}

void turnTopmostOn()
{
    platform::setTopmost(kMainWindow, true);
    platform::showControl(kTopmostOnButton, false);
    platform::showControl(kTopmostOffButton, true);
}

void turnTopmostOff()
{
    platform::setTopmost(kMainWindow, false);
    platform::showControl(kTopmostOnButton, true);
    platform::showControl(kTopmostOffButton, false);
}

void showAutostartButtons(bool on)
{
    platform::showControl(kAutostartOffButton, on);
    platform::showControl(kAutostartOnButton, !on);
}

void closeDesignWindow()
{
    platform::closeWindow(kDesignWindow);
    platform::enableWindow(kMainWindow, true);
}

}  // namespace tellurix
