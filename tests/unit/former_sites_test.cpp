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

struct StoredCase {
    std::string stored, shown, removed;
};

TEST(FormerSitesTest, AStoredLabelMeansTheSiteOfTodayOrTheDefault) {
    Catalogue catalogue;
    const SearchSite ownGulli{"gulli.com", "https://gulli.example/?q=", ""};
    const StoredCase cases[] = {
        {"tecchannel.de", "sedo.com", ""},
        {"gulli.com", "google.de", "gulli.com"},
        {"tomshardware.com", "google.de", "tomshardware.com"},
        {"heise.de", "heise.de", ""},
        {"Gulli.com", "Gulli.com", ""},  // compared byte for byte, like every label
        {"nirgendwo.de", "nirgendwo.de", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const StoredSite site = siteForStoredLabel(catalogue, c.stored);
        EXPECT_EQ(site.label, c.shown) << c.stored;
        EXPECT_EQ(site.removedLabel, c.removed) << c.stored;
    }
    // A site of the user's own that bears a given-up label is that site.
    catalogue.setOwnSites({&ownGulli, 1});
    EXPECT_EQ(siteForStoredLabel(catalogue, "gulli.com").label, "gulli.com");
    EXPECT_TRUE(siteForStoredLabel(catalogue, "gulli.com").removedLabel.empty());
    catalogue.setOwnSites({});
}

TEST(FormerSitesTest, NoFormerLabelIsInTheCatalogueAndEveryNewOneIs) {
    Catalogue catalogue;
    for (std::string_view label : removedSiteLabels()) EXPECT_FALSE(catalogue.find(label)) << label;
    for (const RenamedSite& renamed : renamedSites()) {
        EXPECT_FALSE(catalogue.find(renamed.formerLabel)) << renamed.formerLabel;
        EXPECT_TRUE(catalogue.find(renamed.label)) << renamed.label;
    }
    EXPECT_EQ(kFilledSites + removedSiteLabels().size(), 93u) << "every row of before is kept or given up";
}

TEST(FormerSitesTest, KeywordsFollowARenameAndSkipAGivenUpSite) {
    Catalogue catalogue;
    const std::vector<SettingsLine> lines{{"gu", "gulli.com", "gu = gulli.com"},
                                          {"tc", "TecChannel.de", "tc = TecChannel.de"}};
    const Keywords keywords = readKeywords(lines, builtInSiteLabels());
    ASSERT_EQ(keywords.skipped.size(), 1u);
    EXPECT_EQ(keywords.skipped[0].text, "gu = gulli.com");
    EXPECT_EQ(keywords.skipped[0].reason, "Suchseite unbekannt");
    ASSERT_TRUE(matchKeyword("tc Domain", keywords));
    EXPECT_EQ(matchKeyword("tc Domain", keywords)->label, "sedo.com");
    // The seven built-in keywords all name a site that is still offered.
    EXPECT_EQ(keywords.entries.size(), 8u);
}

class StoredSiteProgramTest : public testing::ProgramFixture {
protected:
    std::filesystem::path file() const { return appdata.path() / "Brenmoor" / "Tellurix" / "Einstellungen.ini"; }
    std::string readFile() const
    {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(StoredSiteProgramTest, TheShownSiteSearchesIsToldOnceWhenGoneAndIsWhatQuitWrites)
{
    const struct {
        std::string stored, shown, url, balloon;
    } cases[] = {
        {"tecchannel.de", "sedo.com", "https://sedo.com/search/?keyword=abc", ""},
        {"gulli.com", "google.de", "https://www.google.de/search?q=abc&hl=de",
         "Die Suchseite \xE2\x80\x9Egulli.com\xE2\x80\x9C wird nicht mehr angeboten.\rGew\xC3\xA4hlt ist jetzt google.de."},
        {"nirgendwo.de", "nirgendwo.de", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        std::filesystem::create_directories(file().parent_path());
        std::ofstream(file(), std::ios::binary) << "[Einstellungen]\r\nFPS = 0\r\nSuchseite = " << c.stored << "\r\n";
        restartProcess();
        fake::resetTray();
        ASSERT_TRUE(startUp(program()));
        EXPECT_EQ(fake::control(kSiteLabel)->text, c.shown);
        ASSERT_EQ(fake::balloons().size(), c.balloon.empty() ? 0u : 1u);
        if (!c.balloon.empty()) {
            EXPECT_EQ(fake::balloons()[0].title, "Suchseite");
            EXPECT_EQ(fake::balloons()[0].text, c.balloon);
        }
        bringUpMainWindow();
        fake::setFocusedControl(kSearchField);
        typeInField("abc");
        dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
        EXPECT_EQ(fake::launchedUrls(), c.url.empty() ? std::vector<std::string>{} : std::vector{c.url});
        try {
            dispatchEvent(program(), {EventKind::Menu, kMenuQuit, EventSubtype::None});
        } catch (const fake::ProcessExit&) {
        }
        EXPECT_EQ(readFile(), "[Einstellungen]\r\nFPS = 0\r\nSuchseite = " + c.shown + "\r\nDesign = 203\r\n");
    }
}

}  // namespace
}  // namespace tellurix
