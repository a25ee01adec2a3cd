#include "search/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <regex>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "search/former_sites.h"

namespace tellurix {
namespace {

// Which site-issued identifier an address could carry.
enum class Identifier { SessionId, AccountEngine, NumericEngine };

// The shape of each identifier, as the sites issued them.
const char* identifierPattern(Identifier kind)
{
    switch (kind) {
    case Identifier::SessionId: return "[0-9A-F]{32}\\.[a-z0-9_]{10}";
    case Identifier::AccountEngine: return "[a-z-]{12}[0-9]{16}%3A[a-z0-9-]{11}";
    case Identifier::NumericEngine: return "[0-9]{21}%3A[a-z0-9]{11}";
    }
    return "";
}

// The cells of each table row under the heading `section` of docs/sites.md,
// the reviewed list of built-in sites, up to the next heading.
std::vector<std::vector<std::string>> sitesPageRows(const std::string& section)
{
    std::ifstream in(TELLURIX_SOURCE_DIR "/docs/sites.md", std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("## "))
            inSection = line == "## " + section;
        if (!inSection || !line.starts_with("| ") || line.starts_with("|---"))
            continue;
        std::vector<std::string> cells;
        for (std::size_t at = 2, bar; (bar = line.find(" |", at)) != std::string::npos; at = bar + 3)
            cells.push_back(line.substr(at, bar - at));
        rows.push_back(std::move(cells));
    }
    if (!rows.empty())
        rows.erase(rows.begin());  // the header
    return rows;
}

class CatalogueTest : public ::testing::Test {
protected:
    const Catalogue catalogue;
};

// The host as written in a prefix: between "http://" or "https://" and the first "/".
std::string hostOf(const std::string& prefix)
{
    const std::size_t start = prefix.starts_with("https://") ? 8 : prefix.starts_with("http://") ? 7 : 0;
    if (start == 0) {
        return {};
    }
    const auto slash = prefix.find('/', start);
    return prefix.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
}

bool matchesIdentifier(Identifier kind, const std::string& text)
{
    if (!std::regex_match(text, std::regex(identifierPattern(kind)))) {
        return false;
    }
    switch (kind) {
    case Identifier::SessionId: return std::count(text.begin(), text.end(), '_') == 1;
    case Identifier::AccountEngine: return std::count(text.begin() + 31, text.end(), '-') == 1;
    case Identifier::NumericEngine: return true;
    }
    return false;
}

TEST_F(CatalogueTest, EveryRowIsTheSitesPagesAndSoIsEveryRowGivenUp)
{
    // The page lists the rows of before in order; those given up stay listed.
    int position = 0;
    std::vector<std::string> givenUp;
    for (const auto& row : sitesPageRows("Built-in sites")) {
        ASSERT_EQ(row.size(), 4u) << row.front();
        if (row[2] == "gone" || row[2] == "removed") {
            givenUp.push_back(row[0]);
            continue;
        }
        ASSERT_TRUE(row[2] == "answers" || row[2] == "moved" || row[2] == "unverified") << row[0] << ": " << row[2];
        const SearchSite& site = catalogue.site(position++);
        EXPECT_EQ(row[0], site.label);
        EXPECT_EQ(row[1], "`" + site.urlPrefix + "%s" + site.urlSuffix + "`") << row[0];
        EXPECT_FALSE(hostOf(site.urlPrefix).empty()) << site.urlPrefix;
    }
    EXPECT_EQ(position, kFilledSites);
    EXPECT_EQ(position + givenUp.size(), 93u);
    EXPECT_EQ(givenUp, std::vector<std::string>(removedSiteLabels().begin(), removedSiteLabels().end()));

    const auto renamed = sitesPageRows("Renamed labels");
    ASSERT_EQ(renamed.size(), renamedSites().size());
    for (std::size_t i = 0; i < renamed.size(); ++i) {
        EXPECT_EQ(renamed[i], (std::vector<std::string>{std::string(renamedSites()[i].formerLabel),
                                                        std::string(renamedSites()[i].label)}));
    }
}

TEST_F(CatalogueTest, NoAddressCarriesASiteIssuedIdentifier)
{
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

TEST(IdentifierFormTest, MatcherRejectsNearMisses)
{
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

TEST_F(CatalogueTest, LabelsAreUniqueDomainsOfTheirHosts)
{
    std::set<std::string> seen;
    for (int i = 0; i < kFilledSites; ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        const SearchSite& site = catalogue.site(i);
        ASSERT_FALSE(site.label.empty());
        EXPECT_TRUE(seen.insert(site.label).second) << "duplicate " << site.label;
        EXPECT_TRUE(std::none_of(site.label.begin(), site.label.end(), [](unsigned char c) {
            return std::isupper(c) || std::isspace(c);
        })) << site.label;
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

TEST_F(CatalogueTest, LabelsAreGroupedByFirstCharacter)
{
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

TEST_F(CatalogueTest, PositionsAfterTheTableStayEmpty)
{
    for (int i = kFilledSites; i < kCatalogueSize; ++i) {
        const SearchSite& site = catalogue.site(i);
        ASSERT_TRUE(site.label.empty() && site.urlPrefix.empty() && site.urlSuffix.empty()) << "position " << i;
    }
}

TEST_F(CatalogueTest, OutOfRangePositionsReadAsEmpty)
{
    for (int position : {-1, kCatalogueSize, 1 << 20}) {
        const SearchSite& site = catalogue.site(position);
        EXPECT_TRUE(site.label.empty() && site.urlPrefix.empty() && site.urlSuffix.empty()) << position;
    }
}

TEST_F(CatalogueTest, EveryLabelFindsItsOwnPosition)
{
    for (int i = 0; i < kFilledSites; ++i) {
        EXPECT_EQ(catalogue.find(catalogue.site(i).label), std::optional<int>(i)) << catalogue.site(i).label;
    }
}

TEST_F(CatalogueTest, NearMissesAndForeignLabelsFindNothing)
{
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

TEST_F(CatalogueTest, ExactlyTenEntriesCarryASuffix)
{
    const std::pair<int, std::string_view> expected[] = {
        {0, ".html"},
        {8, ".html"},
        {18, ".html"},
        {20, "&hl=de"},
        {24, "&search_submit=Suche&rm=search"},
        {28, ".html"},
        {41, ".html"},
        {70, "&fulltext=Volltext"},
        {74, "/"},
        {75, ".php"},
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

TEST_F(CatalogueTest, DefaultLabelIsGoogleAtPositionTwenty)
{
    EXPECT_EQ(defaultSiteLabel(), "google.de");
    EXPECT_EQ(kDefaultSitePosition, 20);
    EXPECT_EQ(defaultSiteLabel(), catalogue.site(kDefaultSitePosition).label);
    EXPECT_EQ(catalogue.find(defaultSiteLabel()), std::optional<int>(kDefaultSitePosition));
}

TEST_F(CatalogueTest, OwnSitesFollowTheBuiltInOnesAndReplaceThoseBefore)
{
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
