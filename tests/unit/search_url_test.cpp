#include "formats/web_address.h"
#include "search/search_url.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "search/catalogue.h"
#include "search/own_sites.h"

namespace tellurix {
namespace {

// Reverses percentEncode; nothing when the text is not a well-formed escape
// of upper-case hex.
std::optional<std::string> percentDecode(std::string_view text)
{
    auto hexValue = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int hi = hexValue(text[i + 1]);
        const int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

bool onlyUrlSafe(std::string_view text)
{
    for (const char c : text) {
        const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_' || c == '.' || c == '~' || c == '%';
        if (!safe)
            return false;
    }
    return true;
}

struct EncodeCase {
    const char* name;
    std::string term;
    std::string encoded;
};

TEST(PercentEncodeTest, EscapesEverythingOutsideTheUnreservedSet)
{
    const EncodeCase cases[] = {
        {"empty", "", ""},
        {"inner space", "a b", "a%20b"},
        {"only spaces", "   ", "%20%20%20"},
        {"leading and trailing blank kept", " abc ", "%20abc%20"},
        {"double quote", "a\"b", "a%22b"},
        {"ampersand", "Tom & Jerry", "Tom%20%26%20Jerry"},
        {"hash", "C#", "C%23"},
        {"percent", "100%", "100%25"},
        {"already escaped text is escaped again", "%20", "%2520"},
        {"plus", "C++", "C%2B%2B"},
        {"question mark", "wer?", "wer%3F"},
        {"slash", "a/b", "a%2Fb"},
        {"backslash", "C:\\x", "C%3A%5Cx"},
        {"equals and semicolon", "a=b;c", "a%3Db%3Bc"},
        {"tab and newline", "a\tb\n", "a%09b%0A"},
        {"nul byte", std::string("a\0b", 3), "a%00b"},
        {"umlauts in UTF-8",
         "M\xC3\xBC"
         "ller \xC3\x84rger Stra\xC3\x9F"
         "e",
         "M%C3%BCller%20%C3%84rger%20Stra%C3%9Fe"},
        {"four-byte emoji", "\xF0\x9F\x98\x80", "%F0%9F%98%80"},
        {"high byte", "\xFF", "%FF"},
        {"unreserved set unchanged", "AZaz09-_.~", "AZaz09-_.~"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(percentEncode(c.term), c.encoded) << c.name;
    }
}

TEST(PercentEncodeTest, EveryByteRoundTripsAndOnlySafeCharactersRemain)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string encoded = percentEncode(all);
    EXPECT_TRUE(onlyUrlSafe(encoded));
    EXPECT_EQ(percentDecode(encoded), std::optional<std::string>(all));
    // 66 unreserved bytes stay single, the other 190 become three characters.
    EXPECT_EQ(encoded.size(), 66u + 190u * 3u);
}

TEST(PercentEncodeTest, LongTermIsKeptWhole)
{
    std::string term;
    while (term.size() < 2000) {
        term +=
            "Gr\xC3\xBC\xC3\x9F"
            "e & ";
    }
    term.resize(2000);
    const std::string encoded = percentEncode(term);
    EXPECT_TRUE(onlyUrlSafe(encoded));
    EXPECT_EQ(percentDecode(encoded), std::optional<std::string>(term));

    const std::string plain(2000, 'x');
    EXPECT_EQ(percentEncode(plain), plain);
}

class SearchUrlTest : public ::testing::Test {
protected:
    const Catalogue catalogue;
};

struct ComposeCase {
    int position;
    std::string_view term;
    std::string_view expectedTail;  // the URL after its host
};

TEST_F(SearchUrlTest, TermLandsBetweenPrefixAndSuffix)
{
    const ComposeCase cases[] = {
        {0, "abc", "/4players.php/suchergebnis/Allgemein/4players/abc.html"},  // path segment + suffix
        {77, "abc", "/results?search_query=abc"},                              // query key
        {20, "abc", "/search?q=abc&hl=de"},                                    // a key after it
        {24, "abc", "/suche/?q=abc&search_submit=Suche&rm=search"},
        {70, "a b", "/w/index.php?title=Spezial%3ASuche&search=a%20b&fulltext=Volltext"},
        {74, "abc", "/ml/search/links/abc/"},
        {75, "x&y", "/synonyme/x%26y.php"},
        {51, "a\"b", "/s-a%22b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("position " + std::to_string(c.position));
        const SearchSite& site = catalogue.site(c.position);
        const std::string url = composeSearchUrl(site, c.term);
        ASSERT_TRUE(url.starts_with("http://") || url.starts_with("https://"));
        const auto slash = url.find('/', url.find("://") + 3);
        ASSERT_NE(slash, std::string::npos);
        EXPECT_EQ(url.substr(slash), c.expectedTail);
        EXPECT_EQ(url, site.urlPrefix + percentEncode(c.term) + site.urlSuffix);
    }
}

TEST_F(SearchUrlTest, EscapedCharactersCannotEscapeTheirPlace)
{
    // "&" and "#" in the term must not start a new key or a fragment.
    const std::string url = composeSearchUrl(catalogue.site(24), "a&rm=x#frag");
    EXPECT_EQ(url.find('#'), std::string::npos);
    EXPECT_TRUE(url.ends_with("a%26rm%3Dx%23frag&search_submit=Suche&rm=search"));
}

TEST_F(SearchUrlTest, EveryCatalogueUrlIsLaunchable)
{
    for (int i = 0; i < kFilledSites; ++i) {
        EXPECT_TRUE(isWebUrl(composeSearchUrl(catalogue.site(i), "C:\\x.exe"))) << "position " << i;
    }
}

TEST(LaunchableUrlTest, OnlyWebUrlsPass)
{
    const std::pair<std::string_view, bool> cases[] = {
        {"http://www.example.org/?q=a", true},
        {"https://www.example.org/?q=a", true},
        {"", false},
        {"http://", false},
        {"https://", false},
        {"http:/x", false},
        {"file://C:/Windows/notepad.exe", false},
        {"C:\\x.exe", false},
        {"abc", false},
        {" http://www.example.org/", false},
        {"javascript:alert(1)", false},
        {"ftp://example.org/", false},
        {"\\\\server\\share\\x.exe", false},
        {"http:///path", false},
        {"https://?q=a", false},
        {"http://www.example.org/?q=a b", false},
        {"http://www.example.org/?q=a\tb", false},
        {"https://www.example.org/\x7F", false},
        {"http://example.org", true},
        {"https://de.wikipedia.org/wiki/M\xC3\xBCller", true},
    };
    for (const auto& [url, expected] : cases) {
        EXPECT_EQ(isWebUrl(url), expected) << "'" << url << "'";
    }
}

// The one check of addresses the user writes (own sites, suggestion sources):
// addresses, and characters put into one that is fine without them, by the
// reason they get.
TEST(UrlTemplateTest, OnlyWebAddressesWithOneTermMarkerAndNothingHidden)
{
    const struct {
        std::string problem;  // empty: usable
        std::vector<std::string> urls;
        std::vector<std::string> inserted;  // into "https://x.de/" "?q=%s"
    } cases[] = {
        {"",
         {"https://suggestqueries.google.com/complete/search?client=firefox&hl=de&q=%s", "http://127.0.0.1:8080/s?q=%s",
          "https://[::1]:8080/s?q=%s", "https://mastodon.social/@tellurix/%s", "https://x.de/?q=%s&an=a@b"},
         {"\xC3\xBC", "\xE2\x80\x91", "\xE2\x80\xB0"}},  // ü, U+2011, U+2030
        {"Adresse ohne http:// oder https:// am Anfang",
         {"ftp://example.org/%s", "file:///C:/x?%s", "http%s://x.de/"},
         {}},
        // U+0085, U+00A0, U+1680, U+2000, U+200A, U+2028, U+2029, U+202F, U+205F, U+3000
        {"Adresse mit Leerzeichen oder Steuerzeichen",
         {},
         {" ", "\t", "\r\n", "\x7F", "\xC2\x85", "\xC2\xA0", "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x8A",
          "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F", "\xE3\x80\x80"}},
        // U+200B, U+200F, U+202A, U+202E, U+2060, U+2064, U+2066, U+2069, U+FEFF, U+061C, U+00AD, U+E0021
        {"Adresse mit unsichtbarem Formatzeichen",
         {},
         {"\xE2\x80\x8B", "\xE2\x80\x8F", "\xE2\x80\xAA", "\xE2\x80\xAE", "\xE2\x81\xA0", "\xE2\x81\xA4",
          "\xE2\x81\xA6", "\xE2\x81\xA9", "\xEF\xBB\xBF", "\xD8\x9C", "\xC2\xAD", "\xF3\xA0\x80\xA1"}},
        {"Adresse mit umgekehrtem Schr\xC3\xA4gstrich (\\)", {"https://x.de\\%s"}, {"\\"}},
        // " ' „ “ ‘ ’ » «
        {"Adresse mit Anf\xC3\xBChrungszeichen",
         {},
         {"\"", "'", "\xE2\x80\x9E", "\xE2\x80\x9C", "\xE2\x80\x98", "\xE2\x80\x99", "\xC2\xBB", "\xC2\xAB"}},
        {"Adresse mit Anmeldedaten (@)", {"https://a@%s/", "https://user:pw@x.de/?q=%s", "https://@x.de/%s"}, {}},
        {"Adresse mit %s im Rechnernamen", {"https://%s.example.org/", "https://example.org:%s/"}, {}},
        {"Adresse ohne %s", {"https://example.org/s?q="}, {}},
        {"Adresse mit mehr als einem %s", {"https://example.org/%s?q=%s"}, {}},
        {"Adresse ohne Rechnernamen", {"https:///s?q=%s", "http://?q=%s", "https://#%s", "https://:8080/?q=%s"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> urls = c.urls;
        for (const std::string& character : c.inserted)
            urls.push_back("https://x.de/" + character + "?q=%s");
        for (const std::string& url : urls)
            EXPECT_EQ(urlTemplateProblem(url).value_or(""), c.problem) << url;
        // Three lines with their reasons fit one balloon.
        const std::vector<SkippedLine> skipped(4, {std::string(40, 'x'), c.problem});
        EXPECT_LE(codePointCount(skippedLinesNotice(skipped)), 255u) << c.problem;
    }
}

TEST(RedirectTest, OnlyALocationWithTheSourcesSchemeHostAndPortIsFollowed)
{
    constexpr std::string_view kFrom = "http://127.0.0.1:8123/complete/search?q=wet";
    const struct {
        std::string_view from;
        const char* location;
        const char* followed;  // empty: not followed
    } cases[] = {
        {kFrom, "http://127.0.0.1:8123/rows?q=wet", "http://127.0.0.1:8123/rows?q=wet"},
        {kFrom, "HTTP://127.0.0.1:8123/rows#top", "http://127.0.0.1:8123/rows"},
        {kFrom, "/rows?q=wet", "http://127.0.0.1:8123/rows?q=wet"},
        {kFrom, "//127.0.0.1:8123/rows", "http://127.0.0.1:8123/rows"},
        {kFrom, "rows?q=x", "http://127.0.0.1:8123/complete/rows?q=x"},
        {kFrom, "?q=wetter", "http://127.0.0.1:8123/complete/search?q=wetter"},
        {"http://example.org", "s?q=a", "http://example.org/s?q=a"},
        {"https://Example.org/s", "https://example.ORG:443/t", "https://example.ORG:443/t"},
        {"http://[::1]:8080/s", "http://[::1]:8080/t", "http://[::1]:8080/t"},
        {kFrom, "http://127.0.0.2:8123/rows", ""},
        {kFrom, "http://127.0.0.1:8124/rows", ""},
        {kFrom, "http://127.0.0.1/rows", ""},
        {kFrom, "https://127.0.0.1:8123/rows", ""},
        {"https://example.org/s", "http://example.org/s", ""},
        {"https://example.org/s", "//evil.example/s", ""},
        {"https://example.org/s", "https://example.org@evil.example/s", ""},
        {"https://example.org/s", "https://example.org.evil.example/s", ""},
        {"https://example.org/s", "https://example.org:0443x/s", ""},
        {"https://example.org/s", "https://example.org:99999/s", ""},
        {"https://example.org/s", "/\\evil.example/s", ""},
        {"https://example.org/s", "ftp://example.org/s", ""},
        {"https://example.org/s", "javascript:alert(1)", ""},
        {"https://example.org/s", "/a b", ""},
        {"https://example.org/s", "", ""},
        {"http://[::1]:8080/s", "http://[::1]/t", ""},
        {"ftp://example.org/s", "/t", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(redirectWithinOrigin(c.from, c.location).value_or(""), c.followed) << c.from << " -> " << c.location;
}

TEST(LaunchableUrlTest, UnknownSiteGivesNothingToLaunch)
{
    // An empty entry (no such site) composes the bare escaped term.
    const SearchSite none{};
    EXPECT_FALSE(isWebUrl(composeSearchUrl(none, "notepad.exe")));
    EXPECT_FALSE(isWebUrl(composeSearchUrl(none, "http://evil.example")));
}

}  // namespace
}  // namespace tellurix
