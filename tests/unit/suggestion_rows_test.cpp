// The rows under the search field: earlier searches by prefix without regard
// to case, then the web's suggestions not shown yet, within the limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/case_fold.h"
#include "search/suggestion_rows.h"

namespace tellurix {
namespace {

TEST(CaseFold, LettersOfEuropeanLanguagesMatchTheirCapitals)
{
    const struct {
        const char* text;
        const char* folded;
    } cases[] = {
        {"WeTTer 42!", "wetter 42!"},
        {"\xC3\x84RGER \xC3\x96L \xC3\x9C"
         "BER",
         "\xC3\xA4rger \xC3\xB6l \xC3\xBC"
         "ber"},  // ÄRGER ÖL ÜBER
        {"STRA\xE1\xBA\x9E"
         "E stra\xC3\x9F"
         "e",
         "stra\xC3\x9F"
         "e stra\xC3\x9F"
         "e"},                                                                           // capital sharp s
        {"\xC3\x89T\xC3\x89 \xC3\x97 \xC3\x9E", "\xC3\xA9t\xC3\xA9 \xC3\x97 \xC3\xBE"},  // ÉTÉ × Þ: × stays
        {"\xC5\x81\xC3\x93"
         "D\xC5\xB9 \xC5\xBD \xC5\xB8",
         "\xC5\x82\xC3\xB3"
         "d\xC5\xBA \xC5\xBE \xC3\xBF"},                                                           // ŁÓDŹ Ž Ÿ
        {"\xCE\x91\xCE\xB8\xCE\x89\xCE\x9D\xCE\x91", "\xCE\xB1\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"},  // ΑθΉΝΑ
        {"\xD0\x9C\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90 \xD0\x81",
         "\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0 \xD1\x91"},
        {"AB\xFF"
         "C\xC3",
         "ab\xFF"
         "c\xC3"},  // malformed: A-Z only, other bytes kept
    };
    for (const auto& c : cases)
        EXPECT_EQ(foldCase(c.text), c.folded) << c.text;
}

std::vector<std::string> texts(const std::vector<SuggestionRow>& rows)
{
    std::vector<std::string> out;
    for (const SuggestionRow& row : rows)
        out.push_back((row.earlierSearch ? "h:" : "w:") + row.text);
    return out;
}

TEST(SuggestionRows, EarlierSearchesFirstThenTheWebWithoutDoubles)
{
    using List = std::vector<std::string>;
    const struct {
        const char* term;
        List history;
        List web;
        List expected;
    } cases[] = {
        {"", {"wetter"}, {"wetter"}, {}},
        {"we", {"Wetter", "auto", "wein", "WEG", "we"}, {}, {"h:Wetter", "h:wein", "h:WEG", "h:we"}},
        {"\xC3\x9C"
         "b",
         {"\xC3\xBC"
          "ber",
          "ueber",
          "\xC3\x9C"
          "BUNG"},
         {},  // Üb
         {"h:\xC3\xBC"
          "ber",
          "h:\xC3\x9C"
          "BUNG"}},
        {"w",
         {"w1", "w2", "w3", "w4", "w5"},
         {"x1", "x2", "x3", "x4", "x5"},
         {"h:w1", "h:w2", "h:w3", "h:w4", "w:x1", "w:x2", "w:x3", "w:x4"}},
        {"wet",
         {"Wetter"},
         {"WETTER", "wetter morgen", "Wetter Morgen", "weather", "wetter morgen"},
         {"h:Wetter", "w:wetter morgen", "w:weather"}},
        {"x", {"y"}, {"x1"}, {"w:x1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(texts(suggestionRows(c.term, c.history, c.web)), c.expected) << c.term;
}

TEST(SuggestionRows, OnlyOneLineOfAtMost500CharactersIsARow)
{
    std::string umlauts;
    for (int i = 0; i < 500; ++i)
        umlauts += "\xC3\xA4";
    const std::vector<std::string> web = {
        "zwei\nZeilen",
        "tab\there",
        "nel\xC2\x85",
        "ls\xE2\x80\xA8",
        "ps\xE2\x80\xA9",
        "del\x7F",
        "",
        "\xFF\xFE",
        std::string(501, 'a'),
        umlauts,
        "\xC3\xA4" + std::string(500, 'a'),
        "gut",
    };
    EXPECT_EQ(texts(suggestionRows("x", {}, web)), (std::vector<std::string>{"w:" + umlauts, "w:gut"}));
    for (const std::string& text : web)
        EXPECT_EQ(isSuggestionLine(text), text == umlauts || text == "gut") << text;
    const std::vector<std::string> history = {"zwei\r\nZeilen", "zwo"};
    EXPECT_EQ(texts(suggestionRows("zw", history, {})), (std::vector<std::string>{"h:zwo"}));
}

}  // namespace
}  // namespace tellurix
