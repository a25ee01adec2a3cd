// When Windows refuses the program something, the program acts on it: the
// user keeps what was typed, learns what happened, and nothing is lost.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/main_window.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;

class FailuresTest : public testing::ProgramFixture {
protected:
    void start()
    {
        writeProgramFile("Einstellungen.ini", "[Einstellungen]\r\nFPS = 0\r\n");
        ASSERT_TRUE(startUp(program()));
        bringUpMainWindow();
    }
    std::vector<std::string> balloonTitles() const
    {
        std::vector<std::string> titles;
        for (const auto& balloon : fake::balloons())
            titles.push_back(balloon.title);
        return titles;
    }
};

TEST_F(FailuresTest, NoBrowserKeepsTheBarWithItsTermAndTheHistoryUntouched)
{
    start();
    fake::refuseNextLaunches(1);
    typeInField("wetter");
    dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
    EXPECT_TRUE(fake::window(kMainWindow)->visible);
    EXPECT_EQ(fake::control(kSearchField)->text, "wetter");
    ASSERT_EQ(balloonTitles(), std::vector<std::string>{"Suche nicht gestartet"});
    EXPECT_TRUE(program().bar.history().entries.empty());
    EXPECT_EQ(readProgramFile("Verlauf.txt"), "<none>");

    // The next Return, with a browser there, searches the same term.
    dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_NE(fake::launchedUrls()[0].find("wetter"), std::string::npos);
    EXPECT_EQ(readProgramFile("Verlauf.txt"), "wetter\r\n");
}

TEST_F(FailuresTest, AQueueThatFailsEndsTheProgramWithEverythingSaved)
{
    start();
    program().bar.chooseSite("youtube.com");
    fake::queueEvent({EventKind::Ended, 0, EventSubtype::None});
    try {
        runEventLoopTurn(program());
        FAIL() << "the program went on";
    } catch (const fake::ProcessExit& exit) {
        EXPECT_EQ(exit.code, 0);
    }
    EXPECT_NE(readProgramFile("Einstellungen.ini").find("Suchseite = youtube.com\r\n"), std::string::npos);
}

TEST_F(FailuresTest, ABarWithoutItsSearchFieldEndsTheStart)
{
    fake::failControlCreation(kSearchField);
    EXPECT_FALSE(startUp(program()));
}

TEST_F(FailuresTest, WithoutAnyHotkeyTheBalloonPointsToTheTrayIcon)
{
    fake::refuseKeyboardHook(true);
    fake::failThreads();
    start();
    EXPECT_EQ(balloonTitles(), std::vector<std::string>{"Tastenk\xC3\xBCrzel"});
    EXPECT_NE(fake::balloons()[0].text.find("Infobereich"), std::string::npos);
}

}  // namespace
}  // namespace tellurix
