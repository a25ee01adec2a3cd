// Own search sites and keywords in the running program: the picker, searches,
// the label while typing, bad lines, and edits made while the program runs.
#include <gtest/gtest.h>

#include <algorithm>

#include "../support/program_fixture.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "core/numbers.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"
#include "search/catalogue.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;

const std::string kHeader = "[Einstellungen]\r\nFPS = 0\r\nDesign = 203\r\nSuchseite = google.de\r\n";
const std::string kOwnSites =
    "[Eigene Suchseiten]\r\n"
    "LEO W\xC3\xB6rterbuch = https://dict.leo.org/englisch-deutsch/%s\r\n"
    "Idealo = https://www.idealo.de/preisvergleich/MainSearchProductCategory.html?q=%s#top\r\n"
    "Kaputt = ftp://example.org/%s\r\n"
    "[Kuerzel]\r\n"
    "leo = LEO W\xC3\xB6rterbuch\r\n";

class OwnSitesProgramTest : public testing::ProgramFixture {
protected:
    void writeFile(const std::string& bytes) const { writeProgramFile("Einstellungen.ini", bytes); }
    std::string readFile() const { return readProgramFile("Einstellungen.ini"); }
    void start()
    {
        restartProcess();
        fake::resetTray();
        ASSERT_TRUE(startUp(program()));
        bringUpMainWindow();
        fake::setForeground(kMainWindow);
    }
    void type(const std::string& text) { typeInField(text); }
    void pressReturn() { dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None}); }
    std::string label() { return fake::control(kSiteLabel)->text; }
    std::vector<std::string> pickerItems()
    {
        dispatchEvent(program(), {EventKind::Control, kSiteLabel, EventSubtype::LeftClick});
        return fake::control(kPickerList)->items;
    }
};

TEST_F(OwnSitesProgramTest, OwnSitesFollowTheBuiltInOnesAndAPickSurvivesARestart)
{
    writeFile(kHeader + kOwnSites);
    start();
    const auto items = pickerItems();
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kFilledSites + 2));
    EXPECT_EQ(items[kFilledSites], "LEO W\xC3\xB6rterbuch");
    EXPECT_EQ(items[kFilledSites + 1], "Idealo");

    fake::selectListItem(kPickerList, kFilledSites + 1);
    dispatchEvent(program(), {EventKind::Control, kPickerList, EventSubtype::SelectionChanged});
    type("K\xC3\xBChlschrank A++");
    pressReturn();
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_EQ(fake::launchedUrls()[0],
              "https://www.idealo.de/preisvergleich/MainSearchProductCategory.html?q=K%C3%BChlschrank%20A%2B%2B#top");

    quitProgram();
    EXPECT_NE(readFile().find("Suchseite = Idealo\r\n"), std::string::npos);
    start();
    EXPECT_EQ(label(), "Idealo");
}

TEST_F(OwnSitesProgramTest, KeywordsShowTheirSiteWhileTypingAndLeaveTheCurrentSite)
{
    writeFile(kHeader + kOwnSites);
    start();
    type("!w");
    EXPECT_EQ(label(), "google.de") << "no blank yet: no keyword";
    type("!w Berlin");
    EXPECT_EQ(label(), "wikipedia.org");
    type("!W  Berlin Mitte");
    pressReturn();
    type("leo Haus");
    EXPECT_EQ(label(), "LEO W\xC3\xB6rterbuch");
    pressReturn();
    ASSERT_EQ(fake::launchedUrls().size(), 2u);
    const SearchSite& wikipedia = program().bar.catalogue().site(*program().bar.catalogue().find("wikipedia.org"));
    EXPECT_EQ(fake::launchedUrls()[0], wikipedia.urlPrefix + "Berlin%20Mitte" + wikipedia.urlSuffix);
    EXPECT_EQ(fake::launchedUrls()[1], "https://dict.leo.org/englisch-deutsch/Haus");
    EXPECT_EQ(label(), "google.de") << "after a keyword search the current site is back";

    type("!g ");
    pressReturn();
    EXPECT_EQ(fake::launchedUrls().size(), 2u) << "a keyword alone starts nothing";
    quitProgram();
    EXPECT_NE(readFile().find("Suchseite = google.de\r\n"), std::string::npos) << "quit while a keyword shows";
}

TEST_F(OwnSitesProgramTest, BadLinesStayInTheFileStartNothingAndAreToldOnce)
{
    writeFile(kHeader + kOwnSites);
    start();
    ASSERT_EQ(fake::balloons().size(), 1u);
    EXPECT_EQ(fake::balloons()[0].title, "Eigene Suchseiten");
    EXPECT_NE(fake::balloons()[0].text.find("Kaputt"), std::string::npos) << fake::balloons()[0].text;
    const auto items = pickerItems();
    EXPECT_EQ(std::count(items.begin(), items.end(), "Kaputt"), 0);

    dispatchEvent(program(), {EventKind::BringUp, kMainWindow, EventSubtype::None});
    EXPECT_EQ(fake::balloons().size(), 1u) << "an unchanged file is not read or told again";
    quitProgram();
    EXPECT_EQ(readFile(), kHeader + kOwnSites) << "every line keeps its bytes";
}

TEST_F(OwnSitesProgramTest, AnEditWhileRunningIsReadAtTheNextShowAndNeverLost)
{
    writeFile(kHeader);
    start();
    EXPECT_EQ(pickerItems().size(), static_cast<std::size_t>(kFilledSites));
    // The user adds a site while the program runs (the file grows, so it counts as changed).
    writeFile(kHeader + "[Eigene Suchseiten]\r\nNeu = https://neu.example/?q=%s\r\n");
    dispatchEvent(program(), {EventKind::Tray, kTrayIcon, EventSubtype::LeftPress});
    const auto items = pickerItems();
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kFilledSites + 1));
    EXPECT_EQ(items.back(), "Neu");
    quitProgram();
    EXPECT_EQ(readFile(), kHeader + "[Eigene Suchseiten]\r\nNeu = https://neu.example/?q=%s\r\n");
}

}  // namespace
}  // namespace tellurix
