// Start-up order, the main window, the dispatch table, always-on-top, the
// hotkey poll and the ways of ending, against the in-memory toolkit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../support/program_fixture.h"
#include "fake_platform/fake_tray.h"
#include "core/numbers.h"
#include "app/event_loop.h"
#include "core/identity.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fault_injection.h"
#include "platform/threads.h"
#include "search/catalogue.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::Event;
using platform::EventKind;
using platform::EventSubtype;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProgramTest : public testing::ProgramFixture {
protected:
    std::filesystem::path settingsFile() const
    {
        return appdata.path() / "Brenmoor" / "Tellurix" / "Einstellungen.ini";
    }

    void click(int control, EventSubtype subtype = EventSubtype::LeftClick)
    {
        dispatchEvent(program(), {EventKind::Control, control, subtype});
    }
};

TEST_F(ProgramTest, MainWindowIsCentredWithTheFormula)
{
    EXPECT_EQ(centredPosition({1280, 800}, {536, 65}).x, 372);
    EXPECT_EQ(centredPosition({1280, 800}, {536, 65}).y, 367);
    // Odd remainders are cut towards zero.
    EXPECT_EQ(centredPosition({1025, 769}, {536, 66}).x, 244);
    EXPECT_EQ(centredPosition({1025, 769}, {536, 66}).y, 351);
    // A window larger than the screen counts as the screen's size: it lands at 0.
    EXPECT_EQ(centredPosition({400, 30}, {536, 65}).x, 0);
    EXPECT_EQ(centredPosition({400, 30}, {536, 65}).y, 0);
}

TEST_F(ProgramTest, StartUpBuildsAHiddenBarInTheFixedOrder)
{
    ASSERT_TRUE(startUp(program()));

    const auto* main = fake::window(kMainWindow);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->visible);
    EXPECT_EQ(main->title, "Tellurix " TELLURIX_PROJECT_VERSION);
    const platform::Size outer = platform::outerSize(platform::WindowKind::MainBar, {530, 40}, 96);
    EXPECT_EQ(main->outer.width, outer.width);
    EXPECT_EQ(main->outer.height, outer.height);
    EXPECT_EQ(main->outer.x, (1280 - outer.width) / 2);
    EXPECT_EQ(main->outer.y, (800 - outer.height) / 2);

    // What the user sees comes first (the tray icon, with the watcher already
    // running, then the notice); the bar's pictures, controls and tips follow,
    // before the event loop can show the bar.
    const long window = callIndex("createWindow 0");
    const long thread = callIndex("startKeyboardHook 0");
    const auto* icon = fake::trayIcon(kTrayIcon);
    ASSERT_NE(icon, nullptr);
    const long tray = static_cast<long>(icon->callsBefore);
    const long notice = callIndex("showMessageBox 0");
    const long label = callIndex("createControl 1");
    const long lastButton = callIndex("createControl 9");
    const long lastTip = callIndex("addBalloonTip 9");
    EXPECT_EQ(window, 0);
    EXPECT_LT(window, thread);
    EXPECT_LT(thread, tray);  // tray: the number of calls made before the icon came
    EXPECT_LE(tray, notice);
    EXPECT_LT(notice, label);
    EXPECT_LT(label, lastButton);
    EXPECT_LT(lastButton, lastTip);
    EXPECT_LT(lastTip, callIndex("prepareFirstShow 0")) << "the icons go to the window manager before the first show";
    EXPECT_EQ(callIndex("showWindow 0"), -1) << "the bar must stay hidden during start-up";
}

TEST_F(ProgramTest, ControlsStandAtTheirPlacesWithTheirStartState)
{
    ASSERT_TRUE(startUp(program()));
    struct Expected {
        int control;
        int x;
        int y;
        bool visible;
    };
    const Expected expected[] = {
        {kSiteLabel, 10, 10, true},          {kSearchField, 170, 10, true},         {kTopmostOnButton, 380, 10, true},
        {kTopmostOffButton, 380, 10, false}, {kDesignButton, 410, 10, true},        {kInfoButton, 470, 10, true},
        {kQuitButton, 500, 10, true},        {kAutostartOffButton, 440, 10, false}, {kAutostartOnButton, 440, 10, true},
    };
    for (const Expected& e : expected) {
        const auto* control = fake::control(e.control);
        ASSERT_NE(control, nullptr) << e.control;
        EXPECT_EQ(control->window, kMainWindow) << e.control;
        EXPECT_EQ(control->rect.x, e.x) << e.control;
        EXPECT_EQ(control->rect.y, e.y) << e.control;
        EXPECT_EQ(control->visible, e.visible) << e.control;
    }
    EXPECT_EQ(fake::control(kSearchField)->text, "Suchen...");
    EXPECT_EQ(fake::control(kSearchField)->font, kSearchFieldFont);
    EXPECT_EQ(fake::control(kSiteLabel)->text, defaultSiteLabel());
    EXPECT_NE(callIndex("registerReturnShortcut 1"), -1) << "Return must raise menu event 1 on window 0";
    for (int control = kTopmostOnButton; control <= kAutostartOnButton; ++control)
        EXPECT_NE(callIndex("addBalloonTip " + std::to_string(control)), -1) << control;
}

TEST_F(ProgramTest, FailedMainWindowEndsAtOnceWithoutTouchingSettings)
{
    fake::failWindowCreation(kMainWindow, true);
    EXPECT_FALSE(startUp(program()));
    EXPECT_FALSE(std::filesystem::exists(appdata.path() / "Brenmoor"));
    try {
        shutdown();
        FAIL() << "shutdown returned";
    } catch (const fake::ProcessExit& exit) {
        EXPECT_EQ(exit.code, 0);
    }
}

TEST_F(ProgramTest, CloseRequestsOnlyHideTheBar)
{
    ASSERT_TRUE(startUp(program()));
    bringUpMainWindow();
    ASSERT_TRUE(fake::window(kMainWindow)->visible);
    dispatchEvent(program(), {EventKind::Close, kMainWindow, EventSubtype::None});
    EXPECT_FALSE(fake::window(kMainWindow)->visible);
    EXPECT_TRUE(platform::isWindowOpen(kMainWindow)) << "closing must not destroy the window";
}

TEST_F(ProgramTest, TrayPressesAndMenuItemsShowAndHide)
{
    ASSERT_TRUE(startUp(program()));
    dispatchEvent(program(), {EventKind::Tray, kTrayIcon, EventSubtype::LeftPress});
    EXPECT_TRUE(fake::window(kMainWindow)->visible);
    EXPECT_EQ(platform::foregroundWindow(), kMainWindow);

    dispatchEvent(program(), {EventKind::Menu, kMenuHide, EventSubtype::None});
    EXPECT_FALSE(fake::window(kMainWindow)->visible);

    // A double click is its own subtype and changes nothing.
    dispatchEvent(program(), {EventKind::Tray, kTrayIcon, EventSubtype::LeftDoubleClick});
    EXPECT_FALSE(fake::window(kMainWindow)->visible);

    dispatchEvent(program(), {EventKind::Menu, kMenuShow, EventSubtype::None});
    EXPECT_TRUE(fake::window(kMainWindow)->visible);
    EXPECT_EQ(platform::foregroundWindow(), kMainWindow);
}

TEST_F(ProgramTest, AlwaysOnTopSwitchesAndSwapsTheButtons)
{
    ASSERT_TRUE(startUp(program()));
    EXPECT_FALSE(fake::window(kMainWindow)->topmost);

    click(kTopmostOnButton);
    EXPECT_TRUE(fake::window(kMainWindow)->topmost);
    EXPECT_FALSE(fake::control(kTopmostOnButton)->visible);
    EXPECT_TRUE(fake::control(kTopmostOffButton)->visible);

    click(kTopmostOffButton);
    EXPECT_FALSE(fake::window(kMainWindow)->topmost);
    EXPECT_TRUE(fake::control(kTopmostOnButton)->visible);
    EXPECT_FALSE(fake::control(kTopmostOffButton)->visible);
}

TEST_F(ProgramTest, OnlyLeftClicksActOnImageButtons)
{
    ASSERT_TRUE(startUp(program()));
    click(kTopmostOnButton, EventSubtype::DoubleClick);
    click(kTopmostOnButton, EventSubtype::Other);
    EXPECT_FALSE(fake::window(kMainWindow)->topmost);
    // Nor does a click of the quit button other than a left click end anything.
    EXPECT_NO_THROW(click(kQuitButton, EventSubtype::DoubleClick));
}

TEST_F(ProgramTest, QuitSavesAndExitsWithZero)
{
    for (int source : {0, 1}) {
        restartProcess();
        ASSERT_TRUE(startUp(program()));
        program().bar.chooseSite(source == 0 ? "wikipedia.org" : "youtube.com");
        try {
            if (source == 0)
                click(kQuitButton);
            else
                dispatchEvent(program(), {EventKind::Menu, kMenuQuit, EventSubtype::None});
            FAIL() << "quit returned";
        } catch (const fake::ProcessExit& exit) {
            EXPECT_EQ(exit.code, 0);
        }
        const std::string saved = readFile(settingsFile());
        EXPECT_NE(saved.find(source == 0 ? "Suchseite = wikipedia.org\r\n" : "Suchseite = youtube.com\r\n"),
                  std::string::npos)
            << saved;
        // The notice was dismissed during start-up, so it is not due again.
        EXPECT_NE(saved.find("FPS = 0\r\n"), std::string::npos) << saved;
    }
    EXPECT_TRUE(platform::isShuttingDown());
}

TEST_F(ProgramTest, SessionEndSavesLikeQuit)
{
    ASSERT_TRUE(startUp(program()));
    program().bar.chooseSite("youtube.com");
    ASSERT_TRUE(fake::endSession());
    EXPECT_NE(readFile(settingsFile()).find("Suchseite = youtube.com\r\n"), std::string::npos);
}

TEST_F(ProgramTest, FirstStartNoticeOnlyWhenFlagIsOne)
{
    ASSERT_TRUE(startUp(program()));
    EXPECT_EQ(fake::messageBoxesShown(), 1);
    EXPECT_EQ(fake::lastMessageBoxTitle(), "Erster Start");
    EXPECT_EQ(fake::lastMessageBoxText(),
              "Das Suchfenster wurde im Hintergrund gestartet.\rUm das Suchfenster \xC3\xB6"
              "ffnen zu k\xC3\xB6nnen, verwenden Sie die folgende Tastenkombination: Strg + Shift + S");
    EXPECT_EQ(program().settings.FPS, 0);

    for (const char* value : {"0", "2", "-1", "x"}) {
        std::ofstream(settingsFile(), std::ios::binary | std::ios::trunc)
            << "[Einstellungen]\r\nFPS = " << value << "\r\n";
        restartProcess();
        ASSERT_TRUE(startUp(program()));
        EXPECT_EQ(fake::messageBoxesShown(), 0) << value;
    }
}

TEST_F(ProgramTest, BringUpRequestsStopWhenShutdownBegins)
{
    ASSERT_TRUE(startUp(program()));
    platform::requestBringUp();
    runEventLoopTurn(program());  // the GUI thread takes the request
    EXPECT_TRUE(fake::window(kMainWindow)->visible);
    hideMainWindow();
    platform::beginShutdown();
    platform::requestBringUp();
    EXPECT_FALSE(fake::window(kMainWindow)->visible);
    EXPECT_EQ(fake::bringUpRequests(), 1);
}

TEST_F(ProgramTest, EventLoopTurnDispatchesQueuedEvents)
{
    ASSERT_TRUE(startUp(program()));
    fake::queueEvent({EventKind::Tray, kTrayIcon, EventSubtype::LeftPress});
    fake::queueEvent({EventKind::None, 0, EventSubtype::None});
    fake::queueEvent({EventKind::Close, kMainWindow, EventSubtype::None});
    runEventLoopTurn(program());
    EXPECT_TRUE(fake::window(kMainWindow)->visible);
    runEventLoopTurn(program());
    EXPECT_TRUE(fake::window(kMainWindow)->visible) << "a bare message carries no action";
    runEventLoopTurn(program());
    EXPECT_FALSE(fake::window(kMainWindow)->visible);
}

}  // namespace
}  // namespace tellurix
