// Sites the catalogue renamed or gave up: stored choices, keywords, and what
// the running program tells and saves.
#include "search/former_sites.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../support/program_fixture.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "core/numbers.h"
#include "fake_platform/fake_tray.h"
#include "search/catalogue.h"
#include "search/keywords.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;

TEST(FormerSitesTest, AStoredLabelMeansTheSiteOfTodayOrTheDefault)
{
    Catalogue catalogue;
    const struct {
        std::string stored, shown, removed;
    } cases[] = {
        {"tecchannel.de", "sedo.com", ""},    {"gulli.com", "google.de", "gulli.com"},
        {"heise.de", "heise.de", ""},         {"Gulli.com", "Gulli.com", ""},  // byte for byte, like every label
        {"nirgendwo.de", "nirgendwo.de", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(siteForStoredLabel(catalogue, c.stored).label, c.shown) << c.stored;
        EXPECT_EQ(siteForStoredLabel(catalogue, c.stored).removedLabel, c.removed) << c.stored;
    }
    // An own site that bears a given-up label is that site.
    const SearchSite ownGulli{"gulli.com", "https://gulli.example/?q=", ""};
    catalogue.setOwnSites({&ownGulli, 1});
    EXPECT_EQ(siteForStoredLabel(catalogue, "gulli.com").removedLabel, "");
    catalogue.setOwnSites({});
}

TEST(FormerSitesTest, KeywordsFollowARenameAndSkipAGivenUpSite)
{
    Catalogue catalogue;
    const std::vector<SettingsLine> lines{{"gu", "gulli.com", "gu = gulli.com"}, {"tc", "TecChannel.de", "tc = x"}};
    const Keywords keywords = readKeywords(lines, builtInSiteLabels());
    ASSERT_EQ(keywords.skipped.size(), 1u);
    EXPECT_EQ(keywords.skipped[0].text + ": " + keywords.skipped[0].reason, "gu = gulli.com: Suchseite unbekannt");
    EXPECT_EQ(matchKeyword("tc Domain", keywords).value_or(KeywordMatch{}).label, "sedo.com");
    EXPECT_EQ(keywords.entries.size(), 8u) << "the seven built-in keywords all name a site still offered";
}

class StoredSiteProgramTest : public testing::ProgramFixture {};

TEST_F(StoredSiteProgramTest, TheShownSiteSearchesIsToldOnceWhenGoneAndIsWhatQuitWrites)
{
    const std::filesystem::path file = appdata.path() / "Brenmoor" / "Tellurix" / "Einstellungen.ini";
    const struct {
        std::string stored, shown, url, balloon;
    } cases[] = {
        {"tecchannel.de", "sedo.com", "https://sedo.com/search/?keyword=abc", ""},
        {"gulli.com", "google.de", "https://www.google.de/search?q=abc&hl=de",
         "Die Suchseite \xE2\x80\x9Egulli.com\xE2\x80\x9C wird nicht mehr angeboten.\rGew\xC3\xA4hlt ist jetzt "
         "google.de."},
        {"nirgendwo.de", "nirgendwo.de", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << "[Einstellungen]\r\nFPS = 0\r\nSuchseite = " << c.stored << "\r\n";
        restartProcess();
        fake::resetTray();
        ASSERT_TRUE(startUp(program()));
        EXPECT_EQ(fake::control(kSiteLabel)->text, c.shown);
        std::vector<std::string> told;
        for (const auto& balloon : fake::balloons())
            told.push_back(balloon.title + ": " + balloon.text);
        EXPECT_EQ(told, c.balloon.empty() ? std::vector<std::string>{} : std::vector{"Suchseite: " + c.balloon});
        bringUpMainWindow();
        typeInField("abc");
        dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
        EXPECT_EQ(fake::launchedUrls(), c.url.empty() ? std::vector<std::string>{} : std::vector{c.url});
        EXPECT_THROW(dispatchEvent(program(), {EventKind::Menu, kMenuQuit, EventSubtype::None}), fake::ProcessExit);
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                  "[Einstellungen]\r\nFPS = 0\r\nSuchseite = " + c.shown + "\r\nDesign = 203\r\n");
    }
}

}  // namespace
}  // namespace tellurix
