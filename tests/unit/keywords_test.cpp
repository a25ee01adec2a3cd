#include "search/keywords.h"

#include <gtest/gtest.h>

namespace tellurix {
namespace {

const std::vector<std::string> kLabels{"google.de", "wikipedia.org", "youtube.com", "amazon.de",
                                       "ebay.de",   "dict.cc",       "bing.com",    "LEO Wörterbuch"};

SettingsLine line(const std::string& key, const std::string& value)
{
    return {key, value, key + " = " + value};
}

// "label|term" for a match, "-" for none: keeps the tables readable.
std::string matched(std::string_view text, const Keywords& keywords)
{
    const auto match = matchKeyword(text, keywords);
    return match ? match->label + "|" + match->term : "-";
}

TEST(KeywordsTest, ActiveOnlyForTheWholeFirstWordFollowedByABlank)
{
    const std::vector<SettingsLine> lines{line("g", "google.de")};
    const Keywords keywords = readKeywords(lines, kLabels);
    const struct {
        std::string text, expected;
    } cases[] = {
        {"!w Berlin", "wikipedia.org|Berlin"},
        {"!W Berlin", "wikipedia.org|Berlin"},
        {"!yt  steely dan ", "youtube.com|steely dan "},
        {"!d\tHaus", "dict.cc|Haus"},
        {"!w ", "wikipedia.org|"},
        {"!w", "-"},
        {" !w Berlin", "-"},
        {"!wx Berlin", "-"},
        {"!x Berlin", "-"},
        {"Berlin !w x", "-"},
        {"", "-"},
        {"g steely dan", "google.de|steely dan"},
        {"genius steely dan", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matched(c.text, keywords), c.expected) << '"' << c.text << '"';
}

TEST(KeywordsTest, FileLinesAddReplaceAndRemove)
{
    const std::vector<SettingsLine> lines{line("leo", "leo wörterbuch"), line("!G", "BING.com"), line("!w", ""),
                                          line("nix", ""), line("üüüüüüüüüüüüüüüü", "dict.cc")};
    const Keywords keywords = readKeywords(lines, kLabels);
    EXPECT_TRUE(keywords.skipped.empty());
    EXPECT_EQ(matched("LEO Haus", keywords), "LEO Wörterbuch|Haus");
    EXPECT_EQ(matched("!g Haus", keywords), "bing.com|Haus");
    EXPECT_EQ(matched("!w Haus", keywords), "-");
    EXPECT_EQ(matched("!yt Haus", keywords), "youtube.com|Haus");
    EXPECT_EQ(matched("üüüüüüüüüüüüüüüü Haus", keywords), "dict.cc|Haus");
}

TEST(KeywordsTest, SkipsFaultyLinesWithTheirReason)
{
    // The accepted "!y" comes first so that skipped line i is file line i + 1.
    const std::vector<SettingsLine> lines{
        line("!y", "ebay.de"),  line("", "dict.cc"),     line("abcdefghijklmnopq", "dict.cc"),
        line("a b", "dict.cc"), line("a\tb", "dict.cc"), line("!x", "nirgends.de"),
        line("!X", "dict.cc"),  line("!Y", "")};
    const Keywords keywords = readKeywords(lines, kLabels);
    const std::string reasons[] = {
        "Kürzel leer",         "Kürzel länger als 16 Zeichen", "Kürzel mit Leerzeichen", "Kürzel mit Leerzeichen",
        "Suchseite unbekannt", "Kürzel schon vergeben",        "Kürzel schon vergeben"};
    ASSERT_EQ(keywords.skipped.size(), std::size(reasons));
    for (std::size_t i = 0; i < std::size(reasons); ++i) {
        EXPECT_EQ(keywords.skipped[i].text, lines[i + 1].text);
        EXPECT_EQ(keywords.skipped[i].reason, reasons[i]) << lines[i + 1].text;
    }
    EXPECT_EQ(matched("!x Haus", keywords), "-");
    EXPECT_EQ(matched("!y Haus", keywords), "ebay.de|Haus");
}

TEST(KeywordsTest, BuiltInKeywordForAMissingSiteIsLeftOut)
{
    const std::vector<std::string> labels{"google.de"};
    const Keywords keywords = readKeywords({}, labels);
    EXPECT_EQ(matched("!g x", keywords), "google.de|x");
    EXPECT_EQ(matched("!b x", keywords), "-");
}

}  // namespace
}  // namespace tellurix
