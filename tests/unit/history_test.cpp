// The search history and the keyboard's way through the bar: the history's
// rules, its file, Up and Down in the field, and the site list from the keys.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "core/numbers.h"
#include "fake_platform/fake_toolkit.h"
#include "search/catalogue.h"
#include "search/history.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;
using platform::Key;
using platform::KeyPress;

TEST(History, NewestFirstWithoutRepeatsWithinTheLimit)
{
    History history;
    history.limit = 3;
    for (const char* term : {"a", "b", "c", "b", "d"})
        EXPECT_TRUE(remember(history, term));
    EXPECT_EQ(history.entries, (std::vector<std::string>{"d", "b", "c"}));
    EXPECT_FALSE(remember(history, ""));
    EXPECT_TRUE(remember(history, "zwei\r\nZeilen"));
    EXPECT_EQ(history.entries.front(), "zwei  Zeilen") << "line breaks are not stored";
    EXPECT_TRUE(remember(history, std::string(600, 'x')));
    EXPECT_EQ(history.entries.front(), std::string(500, 'x'));
    EXPECT_FALSE(remember(history, "caf\xE9")) << "not UTF-8: the file could not keep it";
    EXPECT_TRUE(remember(history, "\xEF\xBB\xBFmarkiert"));
    EXPECT_EQ(history.entries.front(), "markiert") << "a leading U+FEFF would read back as the file's mark";
    EXPECT_TRUE(forget(history, "zwei  Zeilen"));
    EXPECT_FALSE(forget(history, "nie gesucht"));

    History off;
    off.active = false;
    EXPECT_FALSE(remember(off, "a"));
    EXPECT_TRUE(off.entries.empty());
}

TEST(History, DamagedFilesGiveTheReadableEntries)
{
    const std::string file = "neu\r\n\r\nalt\n\xFF\xFE kaputt\r\nneu\r\n" + std::string(501, 'x') + "\r\nletzte";
    EXPECT_EQ(parseHistory(file, 50), (std::vector<std::string>{"neu", "alt", "letzte"}));
    EXPECT_EQ(parseHistory(file, 2), (std::vector<std::string>{"neu", "alt"}));
    EXPECT_EQ(parseHistory("\xEF\xBB\xBFneu\r\nalt\r\n", 50), (std::vector<std::string>{"neu", "alt"}))
        << "the byte order mark is not part of the first entry";
    EXPECT_EQ(composeHistory({"\xC3\xA4", "b"}), "\xC3\xA4\r\nb\r\n");
    EXPECT_EQ(parseHistory(composeHistory({"\xC3\xA4", "b"}), 50), (std::vector<std::string>{"\xC3\xA4", "b"}));
}

TEST(History, TheWalkGoesBackAndReturnsToTheTypedText)
{
    History history;
    history.entries = {"neu", "mitte", "alt"};
    HistoryWalk walk;
    EXPECT_FALSE(walkNewer(walk, history)) << "Down before Up changes nothing";
    EXPECT_EQ(walkOlder(walk, history, "getippt"), "neu");
    EXPECT_EQ(walkOlder(walk, history, "neu"), "mitte");
    EXPECT_EQ(walkOlder(walk, history, "mitte"), "alt");
    EXPECT_FALSE(walkOlder(walk, history, "alt")) << "past the oldest nothing changes";
    EXPECT_EQ(walkNewer(walk, history), "mitte");
    EXPECT_EQ(walkNewer(walk, history), "neu");
    EXPECT_EQ(walkNewer(walk, history), "getippt");
    EXPECT_FALSE(walkNewer(walk, history));
}

class KeyboardTest : public testing::ProgramFixture {
protected:
    std::string historyFile() const { return readProgramFile("Verlauf.txt"); }
    void start()
    {
        restartProcess();
        ASSERT_TRUE(startUp(program()));
        bringUpMainWindow();
        fake::setForeground(kMainWindow);
        fake::setFocusedControl(kSearchField);
        dispatchEvent(program(), {EventKind::Control, kSearchField, EventSubtype::FocusGained});
    }
    void press(KeyPress key) { pressTakenKey(key); }
    void search(const std::string& term)
    {
        typeInField(term);
        dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
        bringUpMainWindow();
        fake::setFocusedControl(kSearchField);
        dispatchEvent(program(), {EventKind::Control, kSearchField, EventSubtype::FocusGained});
    }
    std::string field() { return fake::control(kSearchField)->text; }
    int highlighted() { return fake::control(kPickerList)->selection; }
};

TEST_F(KeyboardTest, UpAndDownWalkTheHistoryAndReturnSearchesAgain)
{
    writeProgramFile("Einstellungen.ini", "[Einstellungen]\r\nFPS = 0\r\n");
    start();
    search("eins");
    search("zwei");
    search("drei");
    EXPECT_EQ(historyFile(), "drei\r\nzwei\r\neins\r\n") << "written after each search";

    typeInField("angefangen");
    press({Key::Up});
    press({Key::Up});
    EXPECT_EQ(field(), "zwei");
    EXPECT_TRUE(fake::control(kSearchField)->caretAtEnd);
    press({Key::Down});
    press({Key::Down});
    EXPECT_EQ(field(), "angefangen") << "Down past the newest brings back what was typed";

    press({Key::Up});
    press({Key::Up});
    dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
    const SearchSite& google = program().bar.catalogue().site(kDefaultSitePosition);
    EXPECT_EQ(fake::launchedUrls().back(), google.urlPrefix + "zwei" + google.urlSuffix);
    EXPECT_EQ(historyFile(), "zwei\r\ndrei\r\neins\r\n") << "searched again, it moves to the front";

    start();  // a restart keeps it
    press({Key::Up});
    EXPECT_EQ(field(), "zwei");
    press({Key::Delete, false, true});
    EXPECT_EQ(historyFile(), "drei\r\neins\r\n") << "Shift+Delete removes the entry shown";
    EXPECT_EQ(field(), "");

    fake::answerQuestions(false);
    press({Key::Delete, false, true, true});
    EXPECT_EQ(historyFile(), "drei\r\neins\r\n") << "answered no, nothing is cleared";
    fake::answerQuestions(true);
    press({Key::Delete, false, true, true});
    EXPECT_EQ(fake::lastMessageBoxText(), "Suchverlauf l\xC3\xB6schen?");
    EXPECT_EQ(historyFile(), "<none>");
    EXPECT_TRUE(program().bar.history().entries.empty());
}

TEST_F(KeyboardTest, SwitchedOffTheHistoryKeepsNothingAndItsFileGoes)
{
    writeProgramFile("Einstellungen.ini", "[Einstellungen]\r\nFPS = 0\r\n[Verlauf]\r\nAktiv = 0\r\n");
    writeProgramFile("Verlauf.txt", "alt\r\n");
    start();
    EXPECT_EQ(historyFile(), "<none>");
    search("geheim");
    EXPECT_EQ(historyFile(), "<none>");
    EXPECT_TRUE(program().bar.history().entries.empty());

    writeProgramFile("Einstellungen.ini", "[Einstellungen]\r\nFPS = 0\r\n[Verlauf]\r\nAnzahl = 2\r\n");
    writeProgramFile("Verlauf.txt", "a\r\nb\r\nc\r\n");
    start();
    EXPECT_EQ(program().bar.history().entries, (std::vector<std::string>{"a", "b"}));
}

TEST_F(KeyboardTest, TheSiteListFromTheKeyboardMovesWithoutPickingUntilReturn)
{
    writeProgramFile("Einstellungen.ini", "[Einstellungen]\r\nFPS = 0\r\nSuchseite = heise.de\r\n");
    start();
    typeInField("Suchtext");
    press({Key::Down, true});
    ASSERT_TRUE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(platform::focusedControl(), kPickerList);
    const int heise = 24;
    EXPECT_EQ(highlighted(), heise) << "the current site is highlighted";

    press({Key::Down});
    press({Key::Down});
    press({Key::PageDown});
    press({Key::Up});
    EXPECT_EQ(highlighted(), heise + 2 + fake::kVisibleListItems - 1);
    press({Key::End});
    EXPECT_EQ(highlighted(), kFilledSites - 1);
    press({Key::Home});
    EXPECT_EQ(highlighted(), 0);
    press({Key::Character, false, false, false, U'W'});
    EXPECT_EQ(program().bar.catalogue().site(highlighted()).label, "wikipedia.org");
    press({Key::Character, false, false, false, U'w'});
    EXPECT_EQ(program().bar.catalogue().site(highlighted()).label, "web.de")
        << "the next label beginning with the letter";
    // A selection event (a click) does not pick either.
    dispatchEvent(program(), {EventKind::Control, kPickerList, EventSubtype::SelectionChanged});
    EXPECT_TRUE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(fake::control(kSiteLabel)->text, "heise.de");

    press({Key::Return});
    EXPECT_FALSE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(fake::control(kSiteLabel)->text, "web.de");
    EXPECT_EQ(platform::focusedControl(), kSearchField);
    EXPECT_EQ(field(), "Suchtext") << "the typed text stays";

    press({Key::F4});
    press({Key::Down});
    press({Key::Escape});
    EXPECT_FALSE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(fake::control(kSiteLabel)->text, "web.de") << "Escape keeps the site";
    EXPECT_EQ(platform::focusedControl(), kSearchField);
}

}  // namespace
}  // namespace tellurix
