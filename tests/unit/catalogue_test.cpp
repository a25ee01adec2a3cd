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

// Which site-issued identifier a row carries between its two path pieces.
enum class Identifier { None, SessionId, AccountEngine, NumericEngine };

struct ExpectedRow {
    std::string_view pathBefore;
    Identifier identifier;
    std::string_view pathAfter;
    std::string_view suffix;
};

constexpr Identifier kNo = Identifier::None;

// Typed independently of the product table: path-and-query after the host and
// the suffix of every filled position.
constexpr std::array<ExpectedRow, kFilledSites> kExpected{{
    {"/4players.php/suchergebnis/Allgemein/4players/", kNo, "", ".html"},
    {"/s/ref=nb_sb_noss?url=search-alias%3Daps&field-keywords=", kNo, "", ""},
    {"/web/results?itag=ody&q=", kNo, "", ""},
    {"/content/searchresult.jsp?scategorytype=web&Keywords=", kNo, "", ""},
    {"/aol/search?s_it=aolde-homePage&q=", kNo, "", ""},
    {"/search?q=", kNo, "", ""},
    {"/view/", kNo, "", ""},
    {"/kddb/cms/websearch.do?query=", kNo, "", ""},
    {"/suche/?q=", kNo, "", ""},
    {"/", kNo, "", ".html"},
    {"/suche/?q=", kNo, "", ""},  // 10
    {"/suche/?search=", kNo, "", ""},
    {"/#order=9&q=", kNo, "", ""},
    {"/search.php?s=", kNo, "", ""},
    {"/?s=", kNo, "", ""},
    {"/?_from=R40&_trksid=p3907.m38.l1313&_nkw=", kNo, "", ""},
    {"/Search.action;jsessionid=", Identifier::SessionId, "?filter.query=", ""},
    {"/ajax.asp?Auswahl=deutschem+Web&q=", kNo, "", ""},
    {"/suche/?search=", kNo, "", ""},
    {"/cgi-bin/search.cgi?query=", kNo, "", ""},
    {"/Search/", kNo, "", ".html"},  // 20
    {"/search?q=", kNo, "", ""},
    {"/#hl=de&q=", kNo, "", ""},
    {"/suche?cx=", Identifier::AccountEngine, "&cof=FORID%3A11&ie=UTF-8&sa.x=0&sa.y=0&q=", ""},
    {"/search.html?qs=", kNo, "", ""},
    {"/suche/", kNo, "", ""},
    {"/search?q=", kNo, "", ""},
    {"/search.php?q=", kNo, "", ""},
    {"/suche/?q=", kNo, "", "&search_submit=Suche&rm=search"},
    {"/suche/?query=", kNo, "", ""},
    {"/search/?q=", kNo, "", ""},  // 30
    {"/developerworks/search/searchResults.jsp?searchType=1&searchSite=dW&searchScope=dW&query=", kNo, "", ""},
    {"/such-ergebnis.html?searchphrase=all&searchword=", kNo, "", ""},
    {"/component/search/", kNo, "", ".html"},
    {"/search?name=", kNo, "", ""},
    {"/s/", kNo, "", ""},
    {"/suche/tags/", kNo, "", ""},
    {"/lcsearch/lcsearch?SearchText=", kNo, "", ""},
    {"/search.php?query=", kNo, "", ""},
    {"/search/", kNo, "", ""},
    {"/googlesearch?cx=", Identifier::NumericEngine, "&cof=FORID%3A11&as_q=", ""},  // 40
    {"/index.php?s=", kNo, "", ""},
    {"/Search/en-US?query=", kNo, "", ""},
    {"/cheats/suche.php?spiel=", kNo, "", ""},
    {"/suche?q=", kNo, "", ""},
    {"/results.aspx?form=MSHOME&mkt=de-DE&setlang=de-DE&q=", kNo, "", ""},
    {"/Videos_A-Z?searchWord=", kNo, "", ""},
    {"/search/?search_type=w&keywords=", kNo, "", ""},
    {"/archive.php?stype=dll&squery=", kNo, "", ""},
    {"/index.cfm?fuseaction=sitesearch.results&orig=search_Header&origpfc=Splash&type=People&qry=", kNo, "",
     ""},
    {"/search?qt=", kNo, "", ""},  // 50
    {"/", kNo, "", ".html"},
    {"/search/?q=", kNo, "", ""},
    {"/catalog/search.html?tfq=", kNo, "", ""},
    {"/german/search.php?keywords=", kNo, "", ""},
    {"/guides/search/?query=", kNo, "", ""},
    {"/index.php?s=", kNo, "", ""},
    {"/ph/Search/Search.aspx?query=", kNo, "", ""},
    {"/manual-lookup.php?pattern=", kNo, "", ""},
    {"/search.php?search_keywords=", kNo, "", ""},
    {"/cgi/suchen.cgi?query=", kNo, "", ""},  // 60
    {"/navigation/suche/index.htm?Suchanfrage=", kNo, "", ""},
    {"/s-", kNo, "", ""},
    {"/s/", kNo, "", ""},
    {"/cheats/search_v2.php?keyword=", kNo, "", ""},
    {"/suche/suchergebnisse.php?suchbegriff=", kNo, "", ""},
    {"/s/", kNo, "", ""},
    {"/suche/index.html?suchbegriff=", kNo, "", ""},
    {"/?s=", kNo, "", ""},
    {"/index.php?search=", kNo, "", ""},
    {"/suche/?searchstring=", kNo, "", ""},  // 70
    {"/fast-cgi/tsc?context=sl&mandant=toi&tpc=internet&device=html&portallanguage=de&userlanguage=de&q=", kNo,
     "", ""},
    {"/search/?type_of_search=soft&words=", kNo, "", ""},
    {"/search/searchresult.php4?linkurl=&language=d&search_type=advanced&keyword=", kNo, "", ""},
    {"/search.php?search=", kNo, "", ""},
    {"/fast-cgi/tsc?q=", kNo, "", ""},
    {"/de/search.php?s=", kNo, "", ""},
    {"/search?str=", kNo, "", ""},
    {"/search.html?search_scope=win&search_terms=", kNo, "", ""},
    {"/#search?q=", kNo, "", ""},
    {"/suche/?param_search_string=", kNo, "", ""},  // 80
    {"/scripts/search?q=", kNo, "", ""},
    {"/search/?query=", kNo, "", ""},
    {"/w/index.php?title=Spezial%3ASuche&search=", kNo, "", "&fulltext=Volltext"},
    {"/search/web/?mc=hp%40suche.suche%40home&origin=HP&su=", kNo, "", ""},
    {"/s/", kNo, "", ""},
    {"/input/?i=", kNo, "", ""},
    {"/ml/search/links/", kNo, "", "/"},
    {"/sphider/search.php?query=", kNo, "", "&btnG=%3E&search=1"},
    {"/?s=", kNo, "", ""},
    {"/results?search_query=", kNo, "", ""},  // 90
    {"/search?rd=r1&p=", kNo, "", ""},
    {"/download_suche_nach_programmen_suche-39002345-suche-1.htm?t=", kNo, "", ""},
}};

class CatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        reserveSearchSites();
        fillSearchSites();
    }
};

// The host as written in a prefix: between "http://" and the first "/".
std::string hostOf(const std::string& prefix) {
    constexpr std::string_view kScheme = "http://";
    if (!prefix.starts_with(kScheme)) {
        return {};
    }
    const auto slash = prefix.find('/', kScheme.size());
    return prefix.substr(kScheme.size(), slash == std::string::npos ? std::string::npos : slash - kScheme.size());
}

bool matchesIdentifier(Identifier kind, const std::string& text) {
    switch (kind) {
    case Identifier::SessionId:
        return std::regex_match(text, std::regex("[0-9A-F]{32}\\.[a-z0-9_]{10}")) &&
               std::count(text.begin(), text.end(), '_') == 1;
    case Identifier::AccountEngine:
        return text.size() == 42 && std::regex_match(text, std::regex(".{12}[0-9]{16}%3A[a-z0-9-]{11}")) &&
               std::count(text.begin() + 31, text.end(), '-') == 1;
    case Identifier::NumericEngine:
        return text.size() == 35 && std::regex_match(text, std::regex("[0-9]{21}%3A[a-z0-9]{11}"));
    case Identifier::None:
        return text.empty();
    }
    return false;
}

TEST_F(CatalogueTest, EveryFilledRowHasItsPathAndSuffix) {
    for (int i = 0; i < kFilledSites; ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        const SearchSite& site = searchSite(i);
        const ExpectedRow& row = kExpected[static_cast<std::size_t>(i)];
        const std::string host = hostOf(site.urlPrefix);
        ASSERT_FALSE(host.empty()) << site.urlPrefix;

        const std::string head = "http://" + host + std::string(row.pathBefore);
        EXPECT_EQ(site.urlSuffix, row.suffix);
        if (row.identifier == Identifier::None) {
            EXPECT_EQ(site.urlPrefix, head);
            continue;
        }
        ASSERT_TRUE(site.urlPrefix.starts_with(head)) << site.urlPrefix;
        ASSERT_TRUE(site.urlPrefix.ends_with(row.pathAfter)) << site.urlPrefix;
        ASSERT_GE(site.urlPrefix.size(), head.size() + row.pathAfter.size());
        const std::string id = site.urlPrefix.substr(head.size(),
                                                     site.urlPrefix.size() - head.size() - row.pathAfter.size());
        EXPECT_TRUE(matchesIdentifier(row.identifier, id)) << "identifier '" << id << "'";
    }
}

TEST_F(CatalogueTest, IdentifiersSitWhereExpected) {
    EXPECT_EQ(kExpected[16].identifier, Identifier::SessionId);
    EXPECT_EQ(kExpected[23].identifier, Identifier::AccountEngine);
    EXPECT_EQ(kExpected[40].identifier, Identifier::NumericEngine);
    EXPECT_EQ(std::count_if(kExpected.begin(), kExpected.end(),
                            [](const ExpectedRow& r) { return r.identifier != Identifier::None; }),
              3);
}

TEST(IdentifierFormTest, MatcherRejectsNearMisses) {
    // The matcher itself must be strict, or the row test above proves little.
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
        const SearchSite& site = searchSite(i);
        ASSERT_FALSE(site.label.empty());
        EXPECT_TRUE(seen.insert(site.label).second) << "duplicate " << site.label;
        EXPECT_TRUE(std::none_of(site.label.begin(), site.label.end(),
                                 [](unsigned char c) { return std::isupper(c) || std::isspace(c); }))
            << site.label;
        // Where a path belongs to another site's search, the row carries that
        // site's host under its old label.
        static const std::map<std::string, std::string> kForeignHosts{
            {"moviepilot.de", "www.mister-wong.de"}, {"mp3.de", "www.mircscripts.org"},
            {"prosieben.de", "de.selfhtml.org"},     {"techspot.com", "sourceforge.net"},
            {"tecchannel.de", "www.sedo.com"},
        };
        const std::string host = hostOf(site.urlPrefix);
        if (const auto foreign = kForeignHosts.find(site.label); foreign != kForeignHosts.end())
            EXPECT_EQ(host, foreign->second);
        else
            EXPECT_TRUE(host == site.label || host.ends_with("." + site.label)) << host << " / " << site.label;
    }
}

TEST_F(CatalogueTest, LabelsAreGroupedByFirstCharacter) {
    const std::string& first = searchSite(0).label;
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(first[0]))) << first;
    char previous = 'a';
    for (int i = 1; i < kFilledSites; ++i) {
        const std::string& label = searchSite(i).label;
        ASSERT_FALSE(label.empty()) << "position " << i;
        const char c = label[0];
        EXPECT_TRUE(c >= 'a' && c <= 'z') << "position " << i << ": " << label;
        EXPECT_GE(c, previous) << "position " << i << ": " << label;
        previous = c;
    }
}

TEST_F(CatalogueTest, PositionsAfterTheTableStayEmpty) {
    for (int i = kFilledSites; i < kCatalogueSize; ++i) {
        const SearchSite& site = searchSite(i);
        ASSERT_TRUE(site.label.empty() && site.urlPrefix.empty() && site.urlSuffix.empty()) << "position " << i;
    }
}

TEST_F(CatalogueTest, OutOfRangePositionsReadAsEmpty) {
    for (int position : {-1, kCatalogueSize, 1 << 20}) {
        const SearchSite& site = searchSite(position);
        EXPECT_TRUE(site.label.empty() && site.urlPrefix.empty() && site.urlSuffix.empty()) << position;
    }
}

TEST_F(CatalogueTest, EveryLabelFindsItsOwnPosition) {
    for (int i = 0; i < kFilledSites; ++i) {
        EXPECT_EQ(findSearchSite(searchSite(i).label), std::optional<int>(i)) << searchSite(i).label;
    }
}

TEST_F(CatalogueTest, NearMissesAndForeignLabelsFindNothing) {
    const std::string google = searchSite(kDefaultSitePosition).label;
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
        EXPECT_EQ(findSearchSite(label), std::nullopt) << "'" << label << "'";
    }
}

TEST_F(CatalogueTest, ExactlyNineEntriesCarryASuffix) {
    const std::pair<int, std::string_view> expected[] = {
        {0, ".html"},  {9, ".html"}, {20, ".html"},
        {28, "&search_submit=Suche&rm=search"},
        {33, ".html"}, {51, ".html"}, {83, "&fulltext=Volltext"},
        {87, "/"},     {88, "&btnG=%3E&search=1"},
    };
    int withSuffix = 0;
    for (int i = 0; i < kCatalogueSize; ++i) {
        withSuffix += searchSite(i).urlSuffix.empty() ? 0 : 1;
    }
    EXPECT_EQ(withSuffix, 9);
    for (const auto& [position, suffix] : expected) {
        EXPECT_EQ(searchSite(position).urlSuffix, suffix) << "position " << position;
    }
}

TEST_F(CatalogueTest, DefaultLabelIsPositionTwentyTwo) {
    EXPECT_FALSE(defaultSiteLabel().empty());
    EXPECT_EQ(defaultSiteLabel(), searchSite(kDefaultSitePosition).label);
    EXPECT_EQ(findSearchSite(defaultSiteLabel()), std::optional<int>(kDefaultSitePosition));
}

TEST_F(CatalogueTest, FillingAgainChangesNothing) {
    std::vector<SearchSite> before;
    for (int i = 0; i < kFilledSites; ++i) {
        before.push_back(searchSite(i));
    }
    fillSearchSites();
    for (int i = 0; i < kFilledSites; ++i) {
        EXPECT_EQ(searchSite(i).label, before[static_cast<std::size_t>(i)].label);
        EXPECT_EQ(searchSite(i).urlPrefix, before[static_cast<std::size_t>(i)].urlPrefix);
        EXPECT_EQ(searchSite(i).urlSuffix, before[static_cast<std::size_t>(i)].urlSuffix);
    }
    EXPECT_TRUE(searchSite(kFilledSites).label.empty());
}

}  // namespace
}  // namespace tellurix
