#include "formats/web_address.h"
#include "search/search_url.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "search/catalogue.h"

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
