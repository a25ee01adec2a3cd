// When Windows refuses the program something, the program acts on it: the
// user keeps what was typed, learns what happened, and nothing is lost.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/main_window.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"
#include "platform/threads.h"

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
    void showBar() { dispatchEvent(program(), {EventKind::BringUp, kMainWindow, EventSubtype::None}); }
    void search(const std::string& term)
    {
        typeInField(term);
        dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
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

// A file that is there but cannot be read is never written over: not by a
// search, at log-off or at quit. The balloon says so once; once the file can be
// read, the next bring-up takes everything from it, the searches made
// meanwhile join its history, and a quit saves again.
TEST_F(FailuresTest, AFileThatCannotBeReadIsNeverWrittenOver)
{
    const std::string settings =
        "[Einstellungen]\r\nFPS = 0\r\nDesign = 207\r\nSuchseite = dict.cc\r\n"
        "[Eigene Suchseiten]\r\nLEO = https://dict.leo.org/%s\r\n";
    for (const auto fault : {fake::ReadFault::Locked, fake::ReadFault::IoError, fake::ReadFault::TooLarge}) {
        SCOPED_TRACE(static_cast<int>(fault));
        const auto failReads = [](fake::ReadFault with) {
            fake::failReads("Einstellungen.ini", with);
            fake::failReads("Verlauf.txt", with);
        };
        restartProcess();
        writeProgramFile("Einstellungen.ini", settings);
        writeProgramFile("Verlauf.txt", "alt\r\n");
        failReads(fault);
        ASSERT_TRUE(startUp(program()));
        EXPECT_EQ(fake::messageBoxesShown(), 0) << "a file is there: no first start";
        search("wetter");
        program().bar.chooseSite("youtube.com");
        showBar();
        ASSERT_TRUE(fake::endSession());
        EXPECT_EQ(balloonTitles(), std::vector<std::string>{"Einstellungen"});
        quitProgram();
        EXPECT_EQ(fake::questionsAsked(), 0);
        EXPECT_EQ(readProgramFile("Einstellungen.ini"), settings);
        EXPECT_EQ(readProgramFile("Verlauf.txt"), "alt\r\n");

        restartProcess();
        ASSERT_TRUE(startUp(program()));
        search("mitte");
        failReads(fake::ReadFault::None);
        showBar();
        EXPECT_EQ(program().bar.currentSite(), "dict.cc");
        EXPECT_EQ(program().settings.Design, 207);
        EXPECT_TRUE(program().bar.catalogue().find("LEO"));
        EXPECT_EQ(readProgramFile("Verlauf.txt"), "mitte\r\nalt\r\n");
        program().bar.chooseSite("youtube.com");
        quitProgram();
        EXPECT_NE(readProgramFile("Einstellungen.ini").find("Suchseite = youtube.com\r\n"), std::string::npos);
    }
}

// Files that cannot be written: the user is told, and asked before a quit
// that would lose the settings.
TEST_F(FailuresTest, WritesThatFailAreToldAndAQuitAsksFirst)
{
    start();
    program().bar.chooseSite("youtube.com");
    fake::failNextWrites(1);
    search("wetter");
    EXPECT_EQ(balloonTitles(), std::vector<std::string>{"Einstellungen"});
    EXPECT_NE(fake::balloons().back().text.find("Verlauf.txt"), std::string::npos);

    fake::failNextWrites(1);
    fake::answerQuestions(false);
    quitProgram();
    EXPECT_EQ(fake::questionsAsked(), 1);
    EXPECT_FALSE(platform::isShuttingDown()) << "the user chose to stay";
    fake::answerQuestions(true);
    quitProgram();
    EXPECT_NE(readProgramFile("Einstellungen.ini").find("Suchseite = youtube.com"), std::string::npos);
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
