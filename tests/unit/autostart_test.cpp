// The autostart shortcut: the start-up check, the two buttons and the
// shortcut's contents, against the in-memory toolkit and shell link layer.
#include "settings/autostart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../support/program_fixture.h"
#include "core/numbers.h"
#include "app/event_loop.h"
#include "app/program.h"
#include "fake_platform/fake_shell_link.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fault_injection.h"
#include "platform/shell_link.h"
#include "platform/shell_link.h"

namespace tellurix {
namespace {

namespace fs = std::filesystem;
namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class AutostartTest : public testing::ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        fake::resetShellLinks();
        fs::create_directories(startupFolder());
        fake::setStartupFolder(startupFolder().string());
    }
    void TearDown() override
    {
        fake::resetShellLinks();
        ProgramFixture::TearDown();
    }

    fs::path startupFolder() const { return folders.path() / "Startup"; }
    fs::path shortcut() const { return startupFolder() / "Tellurix.lnk"; }

    // A fresh process: the toolkit forgets every window, the disk stays.
    void restart()
    {
        restartProcess();
        ASSERT_TRUE(startUp(program()));
    }

    void click(int control, EventSubtype subtype = EventSubtype::LeftClick)
    {
        dispatchEvent(program(), {EventKind::Control, control, subtype});
    }

    // True when the "on" state shows (button 8), false for "off" (button 9);
    // fails the test when both or neither are visible.
    bool autostartShownOn()
    {
        const bool offButton = platform::isControlVisible(kAutostartOffButton);
        const bool onButton = platform::isControlVisible(kAutostartOnButton);
        EXPECT_NE(offButton, onButton) << "exactly one autostart button must be visible";
        return offButton;
    }

    testing::TempFolder folders;
};

// --- The start-up check ------------------------------------------------------

TEST_F(AutostartTest, StartUpShowsWhatStandsAtTheShortcutPath)
{
    enum class Present { Nothing, File, EmptyFile, Folder, OtherName };
    struct Case {
        Present present;
        bool on;
    };
    for (const Case& c : {Case{Present::Nothing, false}, Case{Present::File, true}, Case{Present::EmptyFile, true},
                          Case{Present::Folder, true}, Case{Present::OtherName, false}}) {
        fs::remove_all(startupFolder());
        fs::create_directories(startupFolder());
        switch (c.present) {
        case Present::Nothing: break;
        case Present::File: writeFile(shortcut(), "a shortcut made by hand, pointing elsewhere"); break;
        case Present::EmptyFile: writeFile(shortcut(), ""); break;
        case Present::Folder: fs::create_directories(shortcut()); break;
        case Present::OtherName:
            writeFile(startupFolder() / "Tellurix.exe.lnk", "x");
            fs::create_directories(startupFolder() / "Tellurix");
            break;
        }
        restart();
        EXPECT_EQ(autostartShownOn(), c.on) << static_cast<int>(c.present);
        EXPECT_TRUE(fake::createdLinks().empty()) << "the start-up check must not write";
    }
}

TEST_F(AutostartTest, StartUpCheckRunsOnceTheButtonsExist)
{
    writeFile(shortcut(), "x");
    restart();
    const long lastButton = callIndex("createControl 9");
    const long shown = callIndex("showControl 8");
    ASSERT_NE(shown, -1);
    EXPECT_LT(lastButton, shown);
    EXPECT_FALSE(platform::isControlVisible(kAutostartOnButton));
}

TEST_F(AutostartTest, UnknownOrMissingStartupFolderShowsOff)
{
    fake::setStartupFolder((folders.path() / "does-not-exist").string());
    restart();
    EXPECT_FALSE(autostartShownOn());

    fake::setStartupFolder("");
    restart();
    EXPECT_FALSE(autostartShownOn());
}

// --- Turning autostart on ----------------------------------------------------

TEST_F(AutostartTest, EnableWritesAShortcutToTheRunningProgramInItsOwnFolder)
{
    struct Case {
        std::string program;
        std::string folder;
    };
    // The target is the program file itself, whatever it is called and
    // whichever folder the program was started from.
    for (const Case& c : {Case{"D:\\Werkzeuge\\Suche\\Tellurix.exe", "D:\\Werkzeuge\\Suche\\"},
                          Case{"C:\\Programme\\Brenmoor\\tellurix-1.0.3.exe", "C:\\Programme\\Brenmoor\\"},
                          Case{"\\\\server\\share\\Über Ordner\\Tellurix.exe", "\\\\server\\share\\Über Ordner\\"}}) {
        fs::remove(shortcut());
        fake::resetShellLinks();
        fake::setStartupFolder(startupFolder().string());
        fake::setProgramFilePath(c.program);
        restart();
        ASSERT_FALSE(autostartShownOn());

        click(kAutostartOnButton);

        ASSERT_EQ(fake::createdLinks().size(), 1u) << c.program;
        const fake::CreatedLink& created = fake::createdLinks().front();
        EXPECT_EQ(created.linkPath, startupFolder().string() + "\\Tellurix.lnk");
        EXPECT_TRUE(created.saved);
        EXPECT_EQ(created.link.target, c.program);
        EXPECT_EQ(created.link.workingDirectory, c.folder);
        EXPECT_EQ(created.link.iconPath, c.program);
        EXPECT_EQ(created.link.iconIndex, 0);
        EXPECT_EQ(created.link.arguments, "");
        EXPECT_EQ(created.link.description, "");
        EXPECT_EQ(created.link.showCommand, 1);
        EXPECT_EQ(created.link.hotkey, 0);
        EXPECT_TRUE(fs::is_regular_file(shortcut())) << c.program;
        EXPECT_TRUE(autostartShownOn()) << c.program;

        restart();
        EXPECT_TRUE(autostartShownOn()) << "the shortcut must survive the program: " << c.program;
    }
}

TEST_F(AutostartTest, EnableReplacesAFileMadeWhileTheProgramRan)
{
    restart();
    writeFile(shortcut(), "made by hand");
    click(kAutostartOnButton);
    const std::string written = readFile(shortcut());
    EXPECT_NE(written, "made by hand");
    EXPECT_NE(written.find("target=" + platform::programFilePath()), std::string::npos) << written;
    EXPECT_TRUE(autostartShownOn());
}

TEST_F(AutostartTest, AFailedCreationLeavesItShownOff)
{
    // The link object cannot be made: nothing is written at all.
    restart();
    fake::failNextShellLinks(1);
    click(kAutostartOnButton);
    EXPECT_FALSE(autostartShownOn());
    EXPECT_TRUE(fake::createdLinks().empty());
    EXPECT_FALSE(fs::exists(shortcut()));
    restart();
    EXPECT_FALSE(autostartShownOn());

    // The link is made but cannot be saved (the Startup folder is gone).
    fs::remove_all(startupFolder());
    click(kAutostartOnButton);
    EXPECT_FALSE(autostartShownOn());
    ASSERT_EQ(fake::createdLinks().size(), 1u);
    EXPECT_FALSE(fake::createdLinks().front().saved);
    EXPECT_FALSE(fs::exists(shortcut()));
    restart();
    EXPECT_FALSE(autostartShownOn());
}

TEST_F(AutostartTest, UnknownStartupFolderWritesNothingAnywhere)
{
    fake::setStartupFolder("");
    restart();
    click(kAutostartOnButton);
    EXPECT_TRUE(fake::createdLinks().empty());
    EXPECT_FALSE(autostartShownOn()) << "nowhere to put the shortcut: autostart stays off";
    click(kAutostartOffButton);
    EXPECT_FALSE(autostartShownOn());
    EXPECT_EQ(autostartShortcutPath(), "");
}

TEST_F(AutostartTest, OnlyAPlainLeftClickActs)
{
    restart();
    for (const EventSubtype subtype : {EventSubtype::DoubleClick, EventSubtype::Other, EventSubtype::RightPress})
        click(kAutostartOnButton, subtype);
    EXPECT_TRUE(fake::createdLinks().empty());
    EXPECT_FALSE(autostartShownOn());

    click(kAutostartOnButton);
    for (const EventSubtype subtype : {EventSubtype::DoubleClick, EventSubtype::Other, EventSubtype::RightPress})
        click(kAutostartOffButton, subtype);
    EXPECT_TRUE(fs::exists(shortcut()));
    EXPECT_TRUE(autostartShownOn());
}

// --- Turning autostart off ---------------------------------------------------

TEST_F(AutostartTest, DisableDeletesTheShortcutWhoeverMadeIt)
{
    for (const bool ours : {true, false}) {
        if (ours) {
            restart();
            click(kAutostartOnButton);
        } else {
            writeFile(shortcut(), "made by hand, pointing elsewhere");
            restart();
        }
        ASSERT_TRUE(fs::exists(shortcut())) << ours;
        ASSERT_TRUE(autostartShownOn()) << ours;

        click(kAutostartOffButton);
        EXPECT_FALSE(fs::exists(shortcut())) << ours;
        EXPECT_FALSE(autostartShownOn()) << ours;

        restart();
        EXPECT_FALSE(autostartShownOn()) << ours;
    }
}

TEST_F(AutostartTest, DisableWithNothingThereSwitchesOffAllTheSame)
{
    writeFile(shortcut(), "x");
    restart();
    fs::remove(shortcut());
    click(kAutostartOffButton);
    EXPECT_FALSE(autostartShownOn());
    EXPECT_TRUE(fs::is_empty(startupFolder()));
}

TEST_F(AutostartTest, FolderNamedLikeTheShortcutCountsAsOnAndSurvives)
{
    fs::create_directories(shortcut());
    writeFile(shortcut() / "inside.txt", "keep me");
    restart();
    EXPECT_TRUE(autostartShownOn());

    click(kAutostartOffButton);
    EXPECT_TRUE(autostartShownOn()) << "the folder is not deleted, so it still counts as on";
    EXPECT_TRUE(fs::is_directory(shortcut()));
    EXPECT_EQ(readFile(shortcut() / "inside.txt"), "keep me");

    restart();
    EXPECT_TRUE(autostartShownOn()) << "the folder still stands there";

    // Turning on over a folder cannot save, and the folder stays as it was.
    click(kAutostartOffButton);
    click(kAutostartOnButton);
    EXPECT_TRUE(autostartShownOn());
    EXPECT_TRUE(fs::is_directory(shortcut()));
    EXPECT_EQ(readFile(shortcut() / "inside.txt"), "keep me");
}

// --- The link's shorthands ---------------------------------------------------

TEST(ShellLinkShorthands, FolderPartEndsAtTheLastSeparator)
{
    struct Case {
        const char* path;
        const char* folder;
    };
    for (const Case& c : {Case{"C:\\a\\b\\Tellurix.exe", "C:\\a\\b\\"}, Case{"C:/a/b/Tellurix.exe", "C:/a/b/"},
                          Case{"C:\\a/b\\c/Tellurix.exe", "C:\\a/b\\c/"}, Case{"C:\\Tellurix.exe", "C:\\"},
                          Case{"C:\\a\\", "C:\\a\\"}, Case{"Tellurix.exe", ""}, Case{"", ""}}) {
        EXPECT_EQ(platform::folderPart(c.path), c.folder) << c.path;
    }
}

TEST(ShellLinkShorthands, BarIconAndEmptyFolderStandForTheTarget)
{
    platform::ShellLink link;
    link.target = "E:\\Apps\\Tellurix.exe";
    const platform::ShellLink shorthand = platform::resolvedShellLink(link);
    EXPECT_EQ(shorthand.iconPath, "E:\\Apps\\Tellurix.exe");
    EXPECT_EQ(shorthand.workingDirectory, "E:\\Apps\\");

    link.iconPath = "E:\\Icons\\other.ico";
    link.iconIndex = 3;
    link.workingDirectory = "F:\\Work\\";
    const platform::ShellLink spelledOut = platform::resolvedShellLink(link);
    EXPECT_EQ(spelledOut.iconPath, "E:\\Icons\\other.ico");
    EXPECT_EQ(spelledOut.iconIndex, 3);
    EXPECT_EQ(spelledOut.workingDirectory, "F:\\Work\\");
    EXPECT_EQ(spelledOut.target, "E:\\Apps\\Tellurix.exe");
}

}  // namespace
}  // namespace tellurix
