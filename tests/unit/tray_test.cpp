// The tray icon, its menu and how the menu is drawn, against the in-memory
// notification area.
#include <gtest/gtest.h>

#include <string>

#include "../support/program_fixture.h"
#include "core/numbers.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"
#include "fake_platform/fault_injection.h"
#include "platform/tray.h"
#include "ui/tray.h"
#include "ui/tray_menu_layout.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;
using platform::MenuPalette;
using platform::Rgb;

std::string describe(Rgb colour)
{
    return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," + std::to_string(colour.blue);
}

// --- Layout numbers ----------------------------------------------------------

TEST(TrayMenuLayout, ItemIsTextPlusColumnGapAndThreePixelsEachSide)
{
    struct Case {
        platform::Size text;
        platform::Size item;
    };
    const Case cases[] = {
        {{56, 13}, {84, 19}},
        {{70, 16}, {98, 22}},
        {{0, 0}, {28, 6}},
    };
    for (const Case& c : cases) {
        const platform::MenuItemLayout layout = trayMenuItemLayout(c.text);
        EXPECT_EQ(layout.size.width, c.item.width) << c.text.width;
        EXPECT_EQ(layout.size.height, c.item.height) << c.text.height;
        // Texts start past the 20-pixel column and an 8-pixel gap, centred in height.
        EXPECT_EQ(layout.textOffset.x, 28);
        EXPECT_EQ(layout.textOffset.y, (layout.size.height - c.text.height) / 2);
    }
}

TEST(TrayMenuLayout, ColumnFadesFromWhiteTowardsTheHighlight)
{
    const Rgb highlight{0, 120, 215};
    EXPECT_EQ(menuColumnStrip(0, highlight), (Rgb{255, 255, 255}));
    // Strip k lies 5k per cent of the way, cut towards white: 50 % and 95 %.
    EXPECT_EQ(menuColumnStrip(10, highlight), (Rgb{128, 188, 235})) << describe(menuColumnStrip(10, highlight));
    EXPECT_EQ(menuColumnStrip(19, highlight), (Rgb{13, 127, 217})) << describe(menuColumnStrip(19, highlight));

    // For any highlight the strips darken step by step and never reach it.
    for (const Rgb h : {highlight, Rgb{0, 0, 128}, Rgb{51, 153, 255}, Rgb{0, 0, 0}}) {
        for (int strip = 1; strip < platform::kMenuColumnWidth; ++strip) {
            const Rgb left = menuColumnStrip(strip - 1, h);
            const Rgb right = menuColumnStrip(strip, h);
            EXPECT_LE(right.red, left.red) << strip;
            EXPECT_LE(right.green, left.green) << strip;
            EXPECT_LE(right.blue, left.blue) << strip;
        }
        const Rgb last = menuColumnStrip(platform::kMenuColumnWidth - 1, h);
        EXPECT_GE(last.red, h.red);
        EXPECT_GE(last.green, h.green);
        EXPECT_GE(last.blue, h.blue);
        EXPECT_NE(last, h) << describe(h);
    }
    // A white highlight leaves the column white.
    EXPECT_EQ(menuColumnStrip(19, {255, 255, 255}), (Rgb{255, 255, 255}));
}

TEST(TrayMenuLayout, HotItemIsHalfwayToWhiteFramedBlackWithHighlightText)
{
    EXPECT_EQ(menuHotFill({0, 120, 215}), (Rgb{127, 187, 235}));
    EXPECT_EQ(menuHotFill({0, 0, 0}), (Rgb{127, 127, 127}));
    EXPECT_EQ(menuHotFill({255, 255, 255}), (Rgb{255, 255, 255}));

    const MenuPalette palette{{10, 36, 106}, {250, 251, 252}, {212, 208, 200}, {1, 2, 3}};
    const platform::MenuLook look = trayMenuLook(palette);
    EXPECT_EQ(look.background, palette.menu);
    EXPECT_EQ(look.text, palette.menuText);
    EXPECT_EQ(look.hotFill, menuHotFill(palette.highlight));
    EXPECT_EQ(look.hotFrame, (Rgb{0, 0, 0}));
    EXPECT_EQ(look.hotText, palette.highlightText);
    for (int strip = 0; strip < platform::kMenuColumnWidth; ++strip)
        EXPECT_EQ(look.column[static_cast<std::size_t>(strip)], menuColumnStrip(strip, palette.highlight)) << strip;
}

TEST(TrayTip, KeepsAtMostSixtyThreeCharacters)
{
    EXPECT_EQ(trayTip("Tellurix 1.0.3"), "Tellurix 1.0.3");
    const std::string exact(63, 'x');
    EXPECT_EQ(trayTip(exact), exact);
    const std::string longer = std::string(63, 'a') + "bcdef";
    EXPECT_EQ(trayTip(longer), std::string(63, 'a'));
    EXPECT_EQ(trayTip(""), "");
}

// --- The program with its tray ------------------------------------------------

class TrayTest : public testing::ProgramFixture {
protected:
    void tray(EventSubtype subtype) { dispatchEvent(program(), {EventKind::Tray, kTrayIcon, subtype}); }
    void menuItem(int item) { dispatchEvent(program(), {EventKind::Menu, item, EventSubtype::None}); }
    bool mainVisible() { return fake::window(kMainWindow)->visible; }
    std::size_t menusShown() { return fake::shownMenus().size(); }
};

TEST_F(TrayTest, StartUpAddsTheGlobeWithTheDisplayNameAfterTheWatcher)
{
    ASSERT_TRUE(startUp(program()));
    const fake::TrayIconState* icon = fake::trayIcon(kTrayIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->window, kMainWindow);
    EXPECT_EQ(icon->image, 8);
    EXPECT_EQ(icon->tip, "Tellurix " TELLURIX_PROJECT_VERSION);
    EXPECT_EQ(fake::trayIconAddAttempts(), 1);

    // Icon after the hotkey watcher and before the first-start notice; the
    // menu, unseen until the icon is pressed, after the icon.
    const fake::MenuState* menu = fake::menu(kTrayMenu);
    ASSERT_NE(menu, nullptr);
    const long thread = callIndex("startKeyboardHook 0");
    const long notice = callIndex("showMessageBox 0");
    ASSERT_NE(thread, -1);
    ASSERT_NE(notice, -1);
    EXPECT_GT(static_cast<long>(icon->callsBefore), thread);
    EXPECT_LE(static_cast<long>(icon->callsBefore), notice);
    EXPECT_LE(icon->callsBefore, menu->callsBefore);
}

TEST_F(TrayTest, MenuHoldsShowHideQuitSizedByTheirTexts)
{
    fake::setMenuTextMetrics(7, 13);
    ASSERT_TRUE(startUp(program()));
    const fake::MenuState* menu = fake::menu(kTrayMenu);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 3u);
    struct Expected {
        int item;
        const char* text;
        int width;
    };
    const Expected expected[] = {
        {2, "Anzeigen", 8 * 7 + 28}, {3, "Verstecken", 10 * 7 + 28}, {4, "Beenden", 7 * 7 + 28}};
    for (std::size_t i = 0; i < 3; ++i) {
        const fake::MenuItemState& item = menu->items[i];
        EXPECT_EQ(item.item, expected[i].item) << i;
        EXPECT_EQ(item.text, expected[i].text) << i;
        EXPECT_EQ(item.layout.size.width, expected[i].width) << item.text;
        EXPECT_EQ(item.layout.size.height, 13 + 6) << item.text;
        EXPECT_EQ(item.layout.textOffset.x, 28) << item.text;
        EXPECT_EQ(item.layout.textOffset.y, 3) << item.text;
    }
}

TEST_F(TrayTest, RightPressOpensTheMenuJustAboveLeftOfTheCursor)
{
    ASSERT_TRUE(startUp(program()));
    fake::setCursorPosition({1200, 790});
    const MenuPalette palette{{0, 0, 128}, {255, 255, 255}, {192, 192, 192}, {0, 0, 0}};
    fake::setMenuPalette(palette);

    tray(EventSubtype::RightPress);
    ASSERT_EQ(menusShown(), 1u);
    const fake::ShownMenu& shown = fake::shownMenus().back();
    EXPECT_EQ(shown.menu, kTrayMenu);
    EXPECT_EQ(shown.window, kMainWindow);
    EXPECT_EQ(shown.at.x, 1199);
    EXPECT_EQ(shown.at.y, 789);
    EXPECT_EQ(shown.look.hotFill, menuHotFill(palette.highlight));
    EXPECT_EQ(shown.look.background, palette.menu);
    // Opening the menu neither shows nor hides the bar.
    EXPECT_FALSE(mainVisible());

    // The menu follows the system colours as they are at each opening.
    const MenuPalette changed{{200, 0, 0}, {0, 0, 0}, {255, 255, 255}, {10, 10, 10}};
    fake::setMenuPalette(changed);
    tray(EventSubtype::RightPress);
    ASSERT_EQ(menusShown(), 2u);
    EXPECT_EQ(fake::shownMenus().back().look.column[19], menuColumnStrip(19, changed.highlight));
    EXPECT_EQ(fake::shownMenus().back().look.text, changed.menuText);
}

TEST_F(TrayTest, LeftPressBringsUpTheBarAndDoubleClicksDoNothing)
{
    ASSERT_TRUE(startUp(program()));
    tray(EventSubtype::LeftPress);
    EXPECT_TRUE(mainVisible());
    EXPECT_EQ(platform::foregroundWindow(), kMainWindow);
    EXPECT_EQ(menusShown(), 0u);

    hideMainWindow();
    fake::clearCallLog();
    tray(EventSubtype::LeftDoubleClick);
    tray(EventSubtype::RightDoubleClick);
    EXPECT_FALSE(mainVisible());
    EXPECT_EQ(menusShown(), 0u);
    EXPECT_TRUE(fake::callLog().empty()) << fake::callLog().front();
}

TEST_F(TrayTest, MenuItemsShowHideAndQuitThroughTheEventLoop)
{
    ASSERT_TRUE(startUp(program()));
    // The bar is hidden; a right press and "Anzeigen" bring it up in front.
    fake::pickFromNextMenu(kMenuShow);
    fake::queueEvent({EventKind::Tray, kTrayIcon, EventSubtype::RightPress});
    runEventLoopTurn(program());
    EXPECT_FALSE(mainVisible()) << "nothing is picked before the menu is open";
    runEventLoopTurn(program());
    EXPECT_TRUE(mainVisible());
    EXPECT_EQ(platform::foregroundWindow(), kMainWindow);

    // "Anzeigen" again keeps it in front; "Verstecken" twice hides it once.
    menuItem(kMenuShow);
    EXPECT_TRUE(mainVisible());
    menuItem(kMenuHide);
    EXPECT_FALSE(mainVisible());
    menuItem(kMenuHide);
    EXPECT_FALSE(mainVisible());

    fake::pickFromNextMenu(kMenuQuit);
    fake::queueEvent({EventKind::Tray, kTrayIcon, EventSubtype::RightPress});
    runEventLoopTurn(program());
    ASSERT_NE(fake::trayIcon(kTrayIcon), nullptr);
    try {
        runEventLoopTurn(program());
        FAIL() << "Beenden returned";
    } catch (const fake::ProcessExit& exit) {
        EXPECT_EQ(exit.code, 0);
    }
    EXPECT_EQ(fake::trayIcon(kTrayIcon), nullptr) << "the icon must leave the notification area";
}

TEST_F(TrayTest, IconComesBackWhenTheShellRestartsUntilRemoved)
{
    ASSERT_TRUE(startUp(program()));
    fake::restartNotificationArea();
    const fake::TrayIconState* icon = fake::trayIcon(kTrayIcon);
    ASSERT_NE(icon, nullptr) << "the icon must be added again to the new notification area";
    EXPECT_EQ(icon->image, 8);
    EXPECT_EQ(icon->tip, "Tellurix " TELLURIX_PROJECT_VERSION);
    EXPECT_EQ(fake::trayIconAddAttempts(), 2);

    // Once removed at the end, a restart must not bring it back.
    removeTrayIcon();
    EXPECT_EQ(fake::trayIcon(kTrayIcon), nullptr);
    fake::restartNotificationArea();
    EXPECT_EQ(fake::trayIcon(kTrayIcon), nullptr);
    EXPECT_EQ(fake::trayIconAddAttempts(), 2);
}

TEST_F(TrayTest, IconRefusedAtStartArrivesWithTheNotificationArea)
{
    fake::failTrayIconAdds(1);
    ASSERT_TRUE(startUp(program()));
    EXPECT_EQ(fake::trayIcon(kTrayIcon), nullptr);
    // The program runs on without it; the menu is there all the same.
    EXPECT_NE(fake::menu(kTrayMenu), nullptr);
    fake::restartNotificationArea();
    ASSERT_NE(fake::trayIcon(kTrayIcon), nullptr);
    EXPECT_EQ(fake::trayIcon(kTrayIcon)->tip, "Tellurix " TELLURIX_PROJECT_VERSION);
}

TEST_F(TrayTest, WithoutAMenuARightPressShowsNothing)
{
    fake::failMenuCreation(true);
    ASSERT_TRUE(startUp(program()));
    EXPECT_EQ(fake::menu(kTrayMenu), nullptr);
    fake::clearCallLog();
    tray(EventSubtype::RightPress);
    EXPECT_EQ(menusShown(), 0u);
    EXPECT_EQ(callIndex("setForegroundWindow 0"), -1);
    // The left press still works.
    tray(EventSubtype::LeftPress);
    EXPECT_TRUE(mainVisible());
}

}  // namespace
}  // namespace tellurix
