// The answers of suggestion sources: the strings of the second element of
// ["term", [...], ...] that can be rows; anything else gives nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "search/suggestion_answer.h"

namespace tellurix {
namespace {

using Rows = std::optional<std::vector<std::string>>;
const Rows kNotTheFormat = std::nullopt;

struct AnswerCase {
    std::string body;
    Rows expected;
    const char* contentType = "";
};

void expectAnswers(const std::vector<AnswerCase>& cases)
{
    for (const AnswerCase& c : cases)
        EXPECT_EQ(parseSuggestionAnswer(c.body, c.contentType), c.expected) << c.body.substr(0, 80);
}

TEST(SuggestionAnswer, TakesTheStringsOfTheSecondElement)
{
    expectAnswers({
        {R"(["wet",["wetter","wetter morgen"]])", Rows{{"wetter", "wetter morgen"}}},
        {R"(["wet",["a","b"],["Beschreibung"],[],{"google:suggesttype":["QUERY"]}])", Rows{{"a", "b"}}},
        {" \r\n\t[\"x\", [ ]] \n", Rows{std::vector<std::string>{}}},
        {R"(["",[]])", Rows{std::vector<std::string>{}}},
        {R"(["a",[1,null,true,["x"],{"y":"z"},"ok"]])", Rows{{"ok"}}},
    });
}

TEST(SuggestionAnswer, EscapesBecomeUtf8AndLineBreaksAndControlsAreLeftOut)
{
    expectAnswers({
        {R"(["m",["M\u00fcnchen","\u00C4rger"]])", Rows{{"M\xC3\xBCnchen", "\xC3\x84rger"}}},
        {R"(["e",["\ud83d\ude00 smile"]])", Rows{{"\xF0\x9F\x98\x80 smile"}}},
        {R"(["e",["\ud83d x"]])", kNotTheFormat},  // a high surrogate alone
        {R"(["e",["\ude00 x"]])", kNotTheFormat},  // a low surrogate alone
        {R"(["a",["a\/b","say \"hi\"","back\\slash"]])", Rows{{"a/b", "say \"hi\"", "back\\slash"}}},
        {R"(["a",["zwei\nZeilen","cr\r","tab\t","x\u0000y","x\u001fy","ls\u2028","ok"]])", Rows{{"ok"}}},
        {R"(["a",["x\\u0000"]])", Rows{{"x\\u0000"}}},  // an escaped backslash, then text
        {"[\"a\",[\"raw\nline\",\"\xFF\xFE\",\"\xC3\",\"ok\"]]", Rows{{"ok"}}},
        {std::string("[\"a\",[\"x\0y\",\"ok\"]]", 18), kNotTheFormat},  // a NUL byte is no JSON
    });
}

TEST(SuggestionAnswer, Latin1AnswersAreReadAsTheirHeaderSays)
{
    const std::string body = "[\"m\",[\"M\xFCnchen\",\"\x80 5\"]]";
    expectAnswers({
        {body, Rows{{"M\xC3\xBCnchen", "\xE2\x82\xAC 5"}}, "text/javascript; charset=ISO-8859-1"},
        {body, Rows{{"M\xC3\xBCnchen", "\xE2\x82\xAC 5"}}, "text/javascript; Charset=\"windows-1252\""},
        {body, Rows{std::vector<std::string>{}}, "application/json; charset=UTF-8"},
        {body, Rows{std::vector<std::string>{}}, ""},
    });
}

TEST(SuggestionAnswer, WrongTypesNestingEmptyAndGarbageGiveNothing)
{
    expectAnswers({
        {"", kNotTheFormat},
        {"   ", kNotTheFormat},
        {"[]", kNotTheFormat},
        {R"(["a"])", kNotTheFormat},
        {R"(["a","b"])", kNotTheFormat},
        {R"([1,["a"]])", kNotTheFormat},
        {R"(["a",{"b":"c"}])", kNotTheFormat},
        {R"({"0":"a","1":["b"]})", kNotTheFormat},
        {R"("text")", kNotTheFormat},
        {"42", kNotTheFormat},
        {"[[[\"a\"]]]", kNotTheFormat},
        {std::string(5000, '[') + std::string(5000, ']'), kNotTheFormat},
        {"<html><body>Fehler</body></html>", kNotTheFormat},
        {R"(["a",["b"]] danach)", kNotTheFormat},
        {R"(["a",["b"])", kNotTheFormat},
        {R"(["a",["b",]])", kNotTheFormat},
    });
}

TEST(SuggestionAnswer, At64KilobytesAndAt500Characters)
{
    // Rows of ten letters until the answer is exactly 64 KB long.
    std::string body = R"(["a",[)";
    std::vector<std::string> rows;
    while (body.size() + 13 + 2 <= kMaxSuggestionAnswerBytes) {
        rows.push_back("abcdefghij");
        body += (rows.size() > 1 ? "," : "") + std::string("\"abcdefghij\"");
    }
    body += "]]";
    body.insert(body.size() - 2, kMaxSuggestionAnswerBytes - body.size(), ' ');
    ASSERT_EQ(body.size(), kMaxSuggestionAnswerBytes);
    expectAnswers({
        {body, Rows{rows}},
        {body + " ", kNotTheFormat},
        {R"(["a",[")" + std::string(500, 'x') + R"(",")" + std::string(501, 'y') + "\"]]",
         Rows{{std::string(500, 'x')}}},
    });
}

}  // namespace
}  // namespace tellurix
