#include "search/own_sites.h"

#include <gtest/gtest.h>

#include "search/search_url.h"

namespace tellurix {
namespace {

const std::vector<std::string> kBuiltIns{"google.de", "wikipedia.org", "dict.cc"};

SettingsLine line(const std::string& key, const std::string& value)
{
    return {key, value, key + " = " + value};
}

std::string repeat(std::string_view piece, int times)
{
    std::string out;
    while (times-- > 0)
        out += piece;
    return out;
}

TEST(OwnSitesTest, SkipsFaultyLinesWithTheirReason)
{
    const std::string ok = "https://x.de/?q=%s";
    const struct {
        SettingsLine line;
        std::string reason;
    } cases[] = {
        {line("Ftp", "ftp://x.de/?q=%s"), "Adresse ohne http:// oder https:// am Anfang"},
        {line("Ohne Schema", "x.de/?q=%s"), "Adresse ohne http:// oder https:// am Anfang"},
        {line("Leer nach Schema", "https:///?q=%s"), "Adresse ohne Rechnernamen"},
        {line("Nur Anfrage", "http://?q=%s"), "Adresse ohne Rechnernamen"},
        {line("Kein Platzhalter", "https://x.de/?q="), "Adresse ohne %s"},
        {line("Grosses S", "https://x.de/?q=%S"), "Adresse ohne %s"},
        {line("Zwei", "https://x.de/?q=%s&r=%s"), "Adresse mit mehr als einem %s"},
        {line("Blank", "https://x.de/?q=%s&a b"), "Adresse mit Leerzeichen oder Steuerzeichen"},
        {line("Tab", "https://x.de/\t?q=%s"), "Adresse mit Leerzeichen oder Steuerzeichen"},
        {line("DEL", "https://x.de/\x7F?q=%s"), "Adresse mit Leerzeichen oder Steuerzeichen"},
        {line("Lang", ok + repeat("ä", 2001 - 18)), "Adresse länger als 2000 Zeichen"},
        {line("", ok), "Name leer"},
        {line(repeat("ä", 61), ok), "Name länger als 60 Zeichen"},
        {line("GOOGLE.de", ok), "Name schon vergeben"},
    };
    for (const auto& c : cases) {
        const OwnSites own = readOwnSites({&c.line, 1}, kBuiltIns);
        EXPECT_TRUE(own.sites.empty()) << c.line.text;
        ASSERT_EQ(own.skipped.size(), 1u) << c.line.text;
        EXPECT_EQ(own.skipped[0].text, c.line.text);
        EXPECT_EQ(own.skipped[0].reason, c.reason) << c.line.text;
    }
}

TEST(OwnSitesTest, TakesUnicodeLabelsAndLimitsCountedInCharacters)
{
    const std::string ok = "https://x.de/?q=%s";
    const std::vector<SettingsLine> lines{line("LEO Wörterbuch", "https://dict.leo.org/%s"), line("王", ok),
                                          line(repeat("ä", 60), ok), line("Lang", ok + repeat("ä", 2000 - 18))};
    const OwnSites own = readOwnSites(lines, kBuiltIns);
    EXPECT_TRUE(own.skipped.empty());
    ASSERT_EQ(own.sites.size(), lines.size());
    EXPECT_EQ(own.sites[0].label, "LEO Wörterbuch");
    EXPECT_EQ(own.sites[1].label, "王");
}

TEST(OwnSitesTest, OnlyAnAcceptedLabelIsTaken)
{
    const std::vector<SettingsLine> lines{line("Meine", "kaputt"), line("Meine", "https://a.de/%s"),
                                          line("MEINE", "https://b.de/%s")};
    const OwnSites own = readOwnSites(lines, kBuiltIns);
    ASSERT_EQ(own.sites.size(), 1u);
    EXPECT_EQ(own.sites[0].urlPrefix, "https://a.de/");
    ASSERT_EQ(own.skipped.size(), 2u);
    EXPECT_EQ(own.skipped[1].reason, "Name schon vergeben");
}

TEST(OwnSitesTest, TheSiteAfterTheLastPositionFindsNoRoom)
{
    std::vector<SettingsLine> lines;
    for (int i = 1; i <= kMaxOwnSites + 1; ++i)
        lines.push_back(line("s" + std::to_string(i), "https://x.de/%s"));
    lines.push_back(line("kaputt", "https://x.de/"));
    const OwnSites own = readOwnSites(lines, kBuiltIns);
    ASSERT_EQ(own.sites.size(), 921u);
    EXPECT_EQ(own.sites.back().label, "s921");
    ASSERT_EQ(own.skipped.size(), 2u);
    EXPECT_EQ(own.skipped[0].text, "s922 = https://x.de/%s");
    EXPECT_EQ(own.skipped[0].reason, "kein Platz mehr (921 eigene Suchseiten)");
    EXPECT_EQ(own.skipped[1].reason, "Adresse ohne %s");
}

TEST(OwnSitesTest, ComposedUrlKeepsTheTemplateAroundTheTerm)
{
    const struct {
        std::string url, composed;
    } cases[] = {
        {"https://x.de/suche?q=%s&lang=de", "https://x.de/suche?q=a%20b%26c&lang=de"},
        {"http://x.de/?q=%s", "http://x.de/?q=a%20b%26c"},
        {"https://x.de/#q=%s", "https://x.de/#q=a%20b%26c"},
        {"https://x.de/?a=%3D&q=%s#treffer", "https://x.de/?a=%3D&q=a%20b%26c#treffer"},
    };
    for (const auto& c : cases) {
        const SettingsLine l = line("Seite", c.url);
        const OwnSites own = readOwnSites({&l, 1}, kBuiltIns);
        ASSERT_EQ(own.sites.size(), 1u) << c.url;
        EXPECT_EQ(composeSearchUrl(own.sites[0], "a b&c"), c.composed);
    }
}

TEST(SkippedLinesNoticeTest, NamesThreeLinesAndCountsTheRest)
{
    EXPECT_EQ(skippedLinesNotice({}), "");
    std::vector<SkippedLine> skipped{{"a = 1", "Grund 1"}, {"b = 2", "Grund 2"}};
    EXPECT_EQ(skippedLinesNotice(skipped), "„a = 1“: Grund 1\n„b = 2“: Grund 2");
    // 28 ASCII characters, then multi-byte ones: the cut falls after the 29th.
    skipped.push_back({repeat("x", 28) + "äöü", "Grund 3"});
    skipped.push_back({"d", "Grund 4"});
    skipped.push_back({"e", "Grund 5"});
    EXPECT_EQ(skippedLinesNotice(skipped),
              "„a = 1“: Grund 1\n„b = 2“: Grund 2\n„" + repeat("x", 28) + "ä…“: Grund 3\nund 2 weitere");
    skipped[2].text = repeat("x", 27) + "äöü";  // exactly 30: kept whole
    EXPECT_NE(skippedLinesNotice(skipped).find(skipped[2].text + "“"), std::string::npos);
}

}  // namespace
}  // namespace tellurix
