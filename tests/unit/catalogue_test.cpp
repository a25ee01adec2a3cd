#include "search/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <regex>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tellurix {
namespace {

// Which site-issued identifier an address could carry.
enum class Identifier { SessionId, AccountEngine, NumericEngine };

// The shape of each identifier, as the sites issued them.
const char* identifierPattern(Identifier kind) {
    switch (kind) {
    case Identifier::SessionId:
        return "[0-9A-F]{32}\\.[a-z0-9_]{10}";
    case Identifier::AccountEngine:
        return "[a-z-]{12}[0-9]{16}%3A[a-z0-9-]{11}";
    case Identifier::NumericEngine:
        return "[0-9]{21}%3A[a-z0-9]{11}";
    }
    return "";
}

// Typed independently of the product table: the address of every filled
// position, "%s" where the term goes.
constexpr std::array<std::string_view, kFilledSites> kExpected{{
    "http://www.4players.de/4players.php/suchergebnis/Allgemein/4players/%s.html",
    "https://www.amazon.de/s?k=%s",
    "http://www.arcor.de/content/searchresult.jsp?scategorytype=web&Keywords=%s",
    "http://suche.aol.de/aol/search?s_it=aolde-homePage&q=%s",
    "https://www.bing.com/search?q=%s",
    "http://www.bugmenot.com/view/%s",
    "http://www.blinde-kuh.de/kddb/cms/websearch.do?query=%s",
    "https://www.computerbase.de/suche/?q=%s",
    "http://www.computerbild.de/%s.html",
    "http://www.chip.de/suche/?q=%s",
    "https://www.deviantart.com/search?q=%s",  // 10
    "https://www.dafont.com/search.php?q=%s",
    "https://www.dict.cc/?s=%s",
    "https://www.ebay.de/sch/i.html?_nkw=%s",
    "https://www.eventim.de/search/?searchterm=%s",
    "http://www.fireball.de/ajax.asp?Auswahl=deutschem+Web&q=%s",
    "http://www.focus.de/suche/?search=%s",
    "http://suche.freenet.de/cgi-bin/search.cgi?query=%s",
    "http://www.gamezone.de/Search/%s.html",
    "https://github.com/search?q=%s",
    "https://www.google.de/search?q=%s&hl=de",  // 20
    "http://www.giga.de/search.html?qs=%s",
    "https://www.gutefrage.net/search?query=%s",
    "https://suche.golem.de/search.php?q=%s",
    "https://www.heise.de/suche/?q=%s&search_submit=Suche&rm=search",
    "http://www.handelsblatt.com/suche/?query=%s",
    "http://www.hotscripts.com/search/?q=%s",
    "http://www.joomla.de/such-ergebnis.html?searchphrase=all&searchword=%s",
    "http://www.jgerman.de/component/search/%s.html",
    "https://www.jamendo.com/search?q=%s",
    "http://www.kostenlos.de/s/%s",  // 30
    "http://suche.lycos.de/lcsearch/lcsearch?SearchText=%s",
    "http://www.linuxforen.de/search.php?query=%s",
    "https://www.last.fm/search?q=%s",
    "http://www.macerkopf.de/index.php?s=%s",
    "https://learn.microsoft.com/en-us/search/?terms=%s",
    "http://www.mogelpower.de/cheats/suche.php?spiel=%s",
    "https://www.mediamarkt.de/de/search.html?query=%s",
    "http://search.msn.de/results.aspx?form=MSHOME&mkt=de-DE&setlang=de-DE&q=%s",
    "https://www.moviepilot.de/suche?q=%s",
    "http://searchservice.myspace.com/index.cfm?fuseaction=sitesearch.results"
    "&orig=search_Header&origpfc=Splash&type=People&qry=%s",
    "http://www.netzwelt.de/%s.html",
    "http://www.notebookcheck.com/search/?q=%s",
    "http://de.openoffice.org/german/search.php?keywords=%s",
    "http://www.pcgameshardware.de/guides/search/?query=%s",
    "https://www.pcwelt.de/suche?searchStr=%s",
    "http://www.pcgames.de/ph/Search/Search.aspx?query=%s",
    "https://www.php.net/manual-lookup.php?pattern=%s",
    "http://www.phpbb.de/search.php?search_keywords=%s",
    "http://www.pc-magazin.de/cgi/suchen.cgi?query=%s",
    "https://www.prosieben.de/suche?q=%s",  // 50
    "http://www.quoka.de/s-%s",
    "https://www.rebuy.de/kaufen/suchen?q=%s",
    "https://www.spieletipps.de/suche/?keyword=%s",
    "http://www.sat1.de/suche/suchergebnisse.php?suchbegriff=%s",
    "http://www.softonic.de/s/%s",
    "https://www.spiegel.de/suche/index.html?suchbegriff=%s",
    "https://stadt-bremerhaven.de/?s=%s",
    "https://wiki.selfhtml.org/index.php?search=%s",
    "https://www.stern.de/suche/?q=%s",
    "https://sedo.com/search/?keyword=%s",  // 60
    "http://suche.t-online.de/fast-cgi/tsc?context=sl&mandant=toi"
    "&tpc=internet&device=html&portallanguage=de&userlanguage=de&q=%s",
    "https://www.techspot.com/search/?q=%s",
    "http://www.tutorials.de/search.php?search=%s",
    "http://suche.t-home.de/fast-cgi/tsc?q=%s",
    "http://www.tweakpc.de/search?str=%s",
    "https://x.com/search?q=%s",
    "https://www.tvspielfilm.de/suche/?q=%s",
    "http://userscripts.org/scripts/search?q=%s",
    "https://ubuntuusers.de/search/?query=%s",
    "https://de.wikipedia.org/w/index.php?title=Spezial%3ASuche&search=%s&fulltext=Volltext",  // 70
    "https://suche.web.de/web/result?q=%s",
    "http://www.winload.de/s/%s",
    "https://www.wolframalpha.com/input/?i=%s",
    "http://www.webnews.de/ml/search/links/%s/",
    "https://synonyme.woxikon.de/synonyme/%s.php",
    "http://de.wordpress.org/?s=%s",
    "https://www.youtube.com/results?search_query=%s",
    "https://de.search.yahoo.com/search?rd=r1&p=%s",
    "http://www.zdnet.de/download_suche_nach_programmen_suche-39002345-suche-1.htm?t=%s",
}};

class CatalogueTest : public ::testing::Test {
protected:
    const Catalogue catalogue;
};

// The host as written in a prefix: between "http://" or "https://" and the first "/".
std::string hostOf(const std::string& prefix) {
    const std::size_t start = prefix.starts_with("https://") ? 8 : prefix.starts_with("http://") ? 7 : 0;
    if (start == 0) {
        return {};
    }
    const auto slash = prefix.find('/', start);
    return prefix.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
}

bool matchesIdentifier(Identifier kind, const std::string& text) {
    if (!std::regex_match(text, std::regex(identifierPattern(kind)))) {
        return false;
    }
    switch (kind) {
    case Identifier::SessionId:
        return std::count(text.begin(), text.end(), '_') == 1;
    case Identifier::AccountEngine:
        return std::count(text.begin() + 31, text.end(), '-') == 1;
    case Identifier::NumericEngine:
        return true;
    }
    return false;
}

TEST_F(CatalogueTest, EveryFilledRowHasItsAddress) {
    for (int i = 0; i < kFilledSites; ++i) {
        const SearchSite& site = catalogue.site(i);
        EXPECT_EQ(site.urlPrefix + "%s" + site.urlSuffix, kExpected[static_cast<std::size_t>(i)])
            << "position " << i;
        EXPECT_FALSE(hostOf(site.urlPrefix).empty()) << site.urlPrefix;
    }
}

TEST_F(CatalogueTest, NoAddressCarriesASiteIssuedIdentifier) {
    // Such an identifier was the site's to hand out; a copy of one never answers.
    for (int i = 0; i < kFilledSites; ++i) {
        const std::string address = catalogue.site(i).urlPrefix + catalogue.site(i).urlSuffix;
        for (Identifier kind : {Identifier::SessionId, Identifier::AccountEngine, Identifier::NumericEngine}) {
            EXPECT_FALSE(std::regex_search(address, std::regex(identifierPattern(kind)))) << address;
        }
        EXPECT_EQ(address.find("jsessionid"), std::string::npos) << address;
        EXPECT_EQ(address.find("cx="), std::string::npos) << address;
    }
}

TEST(IdentifierFormTest, MatcherRejectsNearMisses) {
    // The patterns must be strict, or the identifier test above proves little.
    EXPECT_TRUE(matchesIdentifier(Identifier::SessionId, "0123456789ABCDEF0123456789ABCDEF.node_a1b2c"));
    EXPECT_FALSE(matchesIdentifier(Identifier::SessionId, "0123456789abcdef0123456789ABCDEF.node_a1b2c"));
    EXPECT_FALSE(matchesIdentifier(Identifier::SessionId, "0123456789ABCDEF0123456789ABCDEF.nodea1b2c3"));
    EXPECT_FALSE(matchesIdentifier(Identifier::SessionId, "0123456789ABCDEF0123456789ABCDEF.no_e_a1b2c"));
    EXPECT_TRUE(matchesIdentifier(Identifier::AccountEngine, "partner-pub-0123456789012345%3Aabc123-xyz9"));
    EXPECT_FALSE(matchesIdentifier(Identifier::AccountEngine, "partner-pub-0123456789012345%3Aabc123xyz90"));
    EXPECT_FALSE(matchesIdentifier(Identifier::AccountEngine, "partner-pub-012345678901234x%3Aabc123-xyz9"));
    EXPECT_TRUE(matchesIdentifier(Identifier::NumericEngine, "012345678901234567890%3Aabcdefghij1"));
    EXPECT_FALSE(matchesIdentifier(Identifier::NumericEngine, "012345678901234567890:abcdefghij1"));
    EXPECT_FALSE(matchesIdentifier(Identifier::NumericEngine, "012345678901234567890%3Aabcdefghi-1"));
}

TEST_F(CatalogueTest, LabelsAreUniqueDomainsOfTheirHosts) {
    std::set<std::string> seen;
    for (int i = 0; i < kFilledSites; ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        const SearchSite& site = catalogue.site(i);
        ASSERT_FALSE(site.label.empty());
        EXPECT_TRUE(seen.insert(site.label).second) << "duplicate " << site.label;
        EXPECT_TRUE(std::none_of(site.label.begin(), site.label.end(),
                                 [](unsigned char c) { return std::isupper(c) || std::isspace(c); }))
            << site.label;
        // Two sites moved to another domain; their labels keep the one they had.
        static const std::map<std::string, std::string> kForeignHosts{
            {"lastfm.de", "www.last.fm"},
            {"twitter.com", "x.com"},
        };
        const std::string host = hostOf(site.urlPrefix);
        if (const auto foreign = kForeignHosts.find(site.label); foreign != kForeignHosts.end())
            EXPECT_EQ(host, foreign->second);
        else
            EXPECT_TRUE(host == site.label || host.ends_with("." + site.label)) << host << " / " << site.label;
    }
}

TEST_F(CatalogueTest, LabelsAreGroupedByFirstCharacter) {
    const std::string& first = catalogue.site(0).label;
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(first[0]))) << first;
    char previous = 'a';
    for (int i = 1; i < kFilledSites; ++i) {
        const std::string& label = catalogue.site(i).label;
        ASSERT_FALSE(label.empty()) << "position " << i;
        const char c = label[0];
        EXPECT_TRUE(c >= 'a' && c <= 'z') << "position " << i << ": " << label;
        EXPECT_GE(c, previous) << "position " << i << ": " << label;
        previous = c;
    }
}

TEST_F(CatalogueTest, PositionsAfterTheTableStayEmpty) {
    for (int i = kFilledSites; i < kCatalogueSize; ++i) {
        const SearchSite& site = catalogue.site(i);
        ASSERT_TRUE(site.label.empty() && site.urlPrefix.empty() && site.urlSuffix.empty()) << "position " << i;
    }
}

TEST_F(CatalogueTest, OutOfRangePositionsReadAsEmpty) {
    for (int position : {-1, kCatalogueSize, 1 << 20}) {
        const SearchSite& site = catalogue.site(position);
        EXPECT_TRUE(site.label.empty() && site.urlPrefix.empty() && site.urlSuffix.empty()) << position;
    }
}

TEST_F(CatalogueTest, EveryLabelFindsItsOwnPosition) {
    for (int i = 0; i < kFilledSites; ++i) {
        EXPECT_EQ(catalogue.find(catalogue.site(i).label), std::optional<int>(i)) << catalogue.site(i).label;
    }
}

TEST_F(CatalogueTest, NearMissesAndForeignLabelsFindNothing) {
    const std::string google = catalogue.site(kDefaultSitePosition).label;
    std::string upper = google;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    std::string capital = google;
    capital[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capital[0])));

    const std::string cases[] = {
        upper,
        capital,
        " " + google,
        google + " ",
        "\t" + google,
        google + "\r\n",
        google + std::string(1, '\0'),
        google.substr(0, google.size() - 1),
        google + "/",
        "",
        " ",
        "example.invalid",
        "Suchen...",
        std::string(5000, 'x'),
    };
    for (const std::string& label : cases) {
        EXPECT_EQ(catalogue.find(label), std::nullopt) << "'" << label << "'";
    }
}

TEST_F(CatalogueTest, ExactlyTenEntriesCarryASuffix) {
    const std::pair<int, std::string_view> expected[] = {
        {0, ".html"},  {8, ".html"},  {18, ".html"}, {20, "&hl=de"},
        {24, "&search_submit=Suche&rm=search"},
        {28, ".html"}, {41, ".html"}, {70, "&fulltext=Volltext"},
        {74, "/"},     {75, ".php"},
    };
    int withSuffix = 0;
    for (int i = 0; i < kCatalogueSize; ++i) {
        withSuffix += catalogue.site(i).urlSuffix.empty() ? 0 : 1;
    }
    EXPECT_EQ(withSuffix, 10);
    for (const auto& [position, suffix] : expected) {
        EXPECT_EQ(catalogue.site(position).urlSuffix, suffix) << "position " << position;
    }
}

TEST_F(CatalogueTest, DefaultLabelIsGoogleAtPositionTwenty) {
    EXPECT_EQ(defaultSiteLabel(), "google.de");
    EXPECT_EQ(kDefaultSitePosition, 20);
    EXPECT_EQ(defaultSiteLabel(), catalogue.site(kDefaultSitePosition).label);
    EXPECT_EQ(catalogue.find(defaultSiteLabel()), std::optional<int>(kDefaultSitePosition));
}

TEST_F(CatalogueTest, OwnSitesFollowTheBuiltInOnesAndReplaceThoseBefore) {
    Catalogue own;
    const SearchSite first{"Eins", "https://eins.example/?q=", ""};
    const SearchSite second{"Zwei", "https://zwei.example/?q=", ""};
    const SearchSite both[] = {first, second};
    own.setOwnSites(both);
    EXPECT_EQ(own.site(kFilledSites).label, "Eins");
    EXPECT_EQ(own.find("Zwei"), std::optional<int>(kFilledSites + 1));
    EXPECT_EQ(own.labels().size(), static_cast<std::size_t>(kFilledSites + 2));
    own.setOwnSites({&second, 1});
    EXPECT_EQ(own.find("Eins"), std::nullopt);
    EXPECT_EQ(own.find("Zwei"), std::optional<int>(kFilledSites));
    EXPECT_TRUE(own.site(kFilledSites + 1).label.empty()) << "nothing stands after the last own site";
    EXPECT_EQ(own.site(0).label, catalogue.site(0).label) << "the built-in sites stay";
}

}  // namespace
}  // namespace tellurix
