#include "settings/preferences_file.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/text.h"
#include <string>
#include <vector>

namespace tellurix {
namespace {

using Kind = PreferencesEntry::Kind;
using Entries = std::vector<PreferencesEntry>;

PreferencesEntry G(std::string name)
{
    return {Kind::Group, std::move(name), {}};
}
PreferencesEntry C(std::string text)
{
    return {Kind::Comment, std::move(text), {}};
}
PreferencesEntry K(std::string key, std::string value)
{
    return {Kind::Key, std::move(key), std::move(value)};
}

const std::string kBom = "\xEF\xBB\xBF";

// ---------------------------------------------------------------- parsing

struct ParseCase {
    const char* what;
    std::string bytes;
    bool utf8;
    Entries entries;
};

TEST(PreferencesParse, CutsLinesAndClassifiesThem)
{
    const std::vector<ParseCase> cases = {
        {"empty file", "", false, {}},
        {"only separators and blanks", "\r\n\n\r  \t\r\n\t\n", false, {}},
        {"crlf lines", "[Einstellungen]\r\nFPS = 1\r\n", false, {G("Einstellungen"), K("FPS", "1")}},
        {"lone cr and lf both end lines", "a\rb\nc", false, {K("a", ""), K("b", ""), K("c", "")}},
        {"leading blanks and tabs", " \t [G]\r\n\t ;c\r\n  k=v", false, {G("G"), C("c"), K("k", "v")}},
        {"text behind ] is dropped", "[Einstellungen] old", false, {G("Einstellungen")}},
        {"blanks inside brackets belong to the name", "[ Einstellungen ]", false, {G(" Einstellungen ")}},
        {"header without ]", "[open end", false, {G("open end")}},
        {"name ends at the first ]", "[a]b]", false, {G("a")}},
        {"empty header", "[]", false, {G("")}},
        {"comment without blank", ";x", false, {C("x")}},
        {"comment drops one blank", "; x", false, {C("x")}},
        {"comment keeps a second blank", ";  x", false, {C(" x")}},
        {"comment keeps a tab", ";\tx", false, {C("\tx")}},
        {"empty comment", ";", false, {C("")}},
        {"key trimmed right, value left", "Key \t= \t value  ", false, {K("Key", "value  ")}},
        {"further = belong to the value", "a=b=c", false, {K("a", "b=c")}},
        {"line without = is a key", "lonely key ", false, {K("lonely key", "")}},
        {"empty key", "=v", false, {K("", "v")}},
        {"empty value", "k =", false, {K("k", "")}},
        {"hand-edited key", "design=205", false, {K("design", "205")}},
        {"byte order mark", kBom + "[G]\r\nk=v", true, {G("G"), K("k", "v")}},
        {"only a byte order mark", kBom, true, {}},
        {"short mark is text", "\xEF\xBB", false, {K("\xEF\xBB", "")}},
        {"mark not at the start", " " + kBom + "k", false, {K(kBom + "k", "")}},
        {"nul byte is an ordinary byte", std::string("a\0b=c", 5), false, {K(std::string("a\0b", 3), "c")}},
    };
    for (const ParseCase& c : cases) {
        PreferencesFile doc;
        doc.parse(c.bytes);
        EXPECT_EQ(doc.hasByteOrderMark(), c.utf8) << c.what;
        EXPECT_EQ(doc.entries(), c.entries) << c.what;
        EXPECT_FALSE(doc.isModified()) << c.what;
    }
}

// ---------------------------------------------------------------- composing

struct ComposeCase {
    const char* what;
    std::string input;
    std::string saved;
};

TEST(PreferencesCompose, WritesCanonicalLines)
{
    const std::vector<ComposeCase> cases = {
        {"empty single-byte document gives an empty file", "", ""},
        {"blank lines give an empty file", "\r\n \r\n", ""},
        {"mark is followed by an empty line", kBom, kBom + "\r\n"},
        {"mark and entries", kBom + "[G]\nk=v\n", kBom + "\r\n[G]\r\nk = v\r\n"},
        {"canonical file is unchanged", "[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = x\r\n",
         "[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = x\r\n"},
        {"hand-edited file", "\n\n  [Einstellungen] old\n\n;x\n; y\n  design=205 \nSuchseite\n",
         "[Einstellungen]\r\n; x\r\n; y\r\ndesign = 205 \r\nSuchseite = \r\n"},
        {"last line without line end", "[G]\r\nk=v", "[G]\r\nk = v\r\n"},
        {"empty comment", ";", "; \r\n"},
    };
    for (const ComposeCase& c : cases) {
        PreferencesFile doc;
        doc.parse(c.input);
        EXPECT_EQ(doc.compose(), c.saved) << c.what;
    }
}

TEST(PreferencesCompose, SavedBytesReadBackToTheSameDocument)
{
    const std::vector<std::string> inputs = {
        "",
        kBom,
        "[a\r\n;\r\n;  two\r\n=\r\nk\r\n k = v = w  \r\n[]\r\n",
        kBom +
            "\n\n[Gr\xC3\xBC\xC3\x9F"
            "e]\nSuchseite =  caf\xC3\xA9 \n",
        "top=1\r\n[Einstellungen]   trailing\r\nFPS=0\r\n;x\r\n[Other]\r\nDesign=1",
        "\t\t; tabbed\r\r\r\n\n\x01\x02=\x7F\xFF",
    };
    for (const std::string& input : inputs) {
        PreferencesFile first;
        first.parse(input);
        const std::string saved = first.compose();
        PreferencesFile second;
        second.parse(saved);
        EXPECT_EQ(second.entries(), first.entries()) << input;
        EXPECT_EQ(second.hasByteOrderMark(), first.hasByteOrderMark()) << input;
        EXPECT_EQ(second.compose(), saved) << input;
    }
}

// ---------------------------------------------------------------- reading

struct IntegerCase {
    const char* what;
    std::string file;
    int expected;
};

TEST(PreferencesRead, IntegersReadLikeScanfPercentD)
{
    const std::vector<IntegerCase> cases = {
        {"plain", "[Einstellungen]\nDesign = 207", 207},
        {"digits then text", "[Einstellungen]\nDesign = 207abc", 207},
        {"no number reads 0, not the default", "[Einstellungen]\nDesign = abc", 0},
        {"empty value reads 0", "[Einstellungen]\nDesign =", 0},
        {"line without = reads 0", "[Einstellungen]\nDesign", 0},
        {"negative", "[Einstellungen]\nDesign = -5", -5},
        {"plus sign", "[Einstellungen]\nDesign = +7", 7},
        {"sign without digits", "[Einstellungen]\nDesign = - 5", 0},
        {"leading zeros", "[Einstellungen]\nDesign = 0012", 12},
        {"vertical tab is white space", "[Einstellungen]\nDesign = \v\f12", 12},
        {"largest", "[Einstellungen]\nDesign = 2147483647", INT_MAX},
        {"smallest", "[Einstellungen]\nDesign = -2147483648", INT_MIN},
        {"too large saturates", "[Einstellungen]\nDesign = 99999999999999999999999", INT_MAX},
        {"too small saturates", "[Einstellungen]\nDesign = -2147483649", INT_MIN},
        {"key case ignored", "[Einstellungen]\ndesign=205", 205},
        {"group case ignored", "[EINSTELLUNGEN]\nDESIGN=206", 206},
        {"missing key gives the default", "[Einstellungen]\nFPS = 1", 203},
        {"longer key is another key", "[Einstellungen]\nDesigns = 1", 203},
        {"missing group gives the default", "[Andere]\nDesign = 1", 203},
        {"blanks inside brackets", "[ Einstellungen ]\nDesign = 210", 203},
        {"key above the first group is not seen", "Design = 201\n[Einstellungen]\nFPS = 0", 203},
        {"key of the next group is not seen", "[Einstellungen]\n[Andere]\nDesign = 1", 203},
        {"first of two lines wins", "[Einstellungen]\nDesign = 204\nDesign = 205", 204},
        {"first matching group wins", "[Einstellungen]\n[Einstellungen]\nDesign = 205", 203},
        {"comment is no key", "[Einstellungen]\n;Design = 205", 203},
    };
    for (const IntegerCase& c : cases) {
        PreferencesFile doc;
        doc.parse(c.file);
        doc.selectGroup("Einstellungen");
        EXPECT_EQ(doc.readInteger("Design", 203), c.expected) << c.what;
    }
}

struct StringCase {
    const char* what;
    std::string file;
    std::string expected;
};

TEST(PreferencesRead, StringsAreTrimmedOnBothSides)
{
    const std::vector<StringCase> cases = {
        {"blanks around", "[Einstellungen]\nSuchseite =   name   ", "name"},
        {"tabs around", "[Einstellungen]\nSuchseite =\t name \t", "name"},
        {"inner blanks stay", "[Einstellungen]\nSuchseite = a b = c ", "a b = c"},
        {"empty value is empty, not the default", "[Einstellungen]\nSuchseite =", ""},
        {"missing key gives the default", "[Einstellungen]\n", "default"},
        {"windows-1252 bytes read as UTF-8",
         "[Einstellungen]\nSuchseite = m\xFC"
         "ller \x80",
         "m\xC3\xBC"
         "ller \xE2\x82\xAC"},
        {"utf-8 file as it is",
         kBom + "[Einstellungen]\nSuchseite = m\xC3\xBC"
                "ller.de",
         "m\xC3\xBC"
         "ller.de"},
        {"utf-8 above U+00FF is kept", kBom + "[Einstellungen]\nSuchseite = 5 \xE2\x82\xAC \xE7\x8E\x8B",
         "5 \xE2\x82\xAC \xE7\x8E\x8B"},
        {"utf-8 without the mark", "[Einstellungen]\nSuchseite = \xE7\x8E\x8B", "\xE7\x8E\x8B"},
        {"utf-8 cut sequence", kBom + "[Einstellungen]\nSuchseite = ab\xC3", "ab\xEF\xBF\xBD"},
        {"utf-8 overlong form", kBom + "[Einstellungen]\nSuchseite = \xC1\x81", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"utf-8 stray continuation", kBom + "[Einstellungen]\nSuchseite = \x80", "\xEF\xBF\xBD"},
    };
    for (const StringCase& c : cases) {
        PreferencesFile doc;
        doc.parse(c.file);
        doc.selectGroup("Einstellungen");
        EXPECT_EQ(doc.readString("Suchseite", "default"), c.expected) << c.what;
    }
}

TEST(PreferencesSelect, ReportsWhetherTheGroupExists)
{
    PreferencesFile doc;
    doc.parse("Design = 201\r\n[Einstellungen]\r\nDesign = 202\r\n[\xC4pfel]\r\n");
    EXPECT_EQ(doc.selectGroup("einstellungen"), 1);
    EXPECT_EQ(doc.readInteger("Design", 0), 202);
    // Only A to Z fold: a-umlaut does not match A-umlaut.
    EXPECT_EQ(doc.selectGroup("\xC3\xA4pfel"), 0);
    EXPECT_EQ(doc.readInteger("Design", -1), -1);
    EXPECT_EQ(doc.selectGroup(""), 1);
    EXPECT_EQ(doc.readInteger("Design", 0), 201);
}

TEST(PreferencesSelect, Utf8DocumentsMatchConvertedNames)
{
    PreferencesFile doc;
    doc.parse(kBom +
              "[Gr\xC3\xBC\xC3\x9F"
              "e]\r\nk = 1\r\n");
    EXPECT_EQ(doc.selectGroup("Gr\xC3\xBC\xC3\x9F"
                              "e"),
              1);
    EXPECT_EQ(doc.readInteger("k", 0), 1);
}

// ---------------------------------------------------------------- writing

// What saveSettings does to a document.
std::string saveThree(std::string_view file, int fps, int design, std::string_view site)
{
    PreferencesFile doc;
    doc.parse(file);
    doc.selectGroup("Einstellungen");
    doc.writeInteger("FPS", fps);
    doc.writeInteger("Design", design);
    doc.writeString("Suchseite", site);
    EXPECT_TRUE(doc.isModified());
    return doc.compose();
}

TEST(PreferencesWrite, SavesGoldenFiles)
{
    const std::vector<ComposeCase> cases = {
        {"empty file gets group and keys in order", "",
         "[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = google.de\r\n"},
        {"values replaced in place", "[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = x\r\n",
         "[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = google.de\r\n"},
        {"hand-edited key keeps its place and takes our spelling", "[Einstellungen]\r\ndesign=7\r\n[Other]\r\nx=1",
         "[Einstellungen]\r\nDesign = 205\r\nFPS = 0\r\nSuchseite = google.de\r\n[Other]\r\nx = 1\r\n"},
        {"missing group is appended", "[Other]\r\n;note\r\nDesign=1\r\n",
         "[Other]\r\n; note\r\nDesign = 1\r\n[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = google.de\r\n"},
        {"blanks inside brackets: a second group is appended", "[ Einstellungen ]\r\nDesign = 210\r\n",
         "[ Einstellungen ]\r\nDesign = 210\r\n[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = "
         "google.de\r\n"},
        {"second of two lines stays", "[Einstellungen]\r\nDesign = 1\r\nDesign = 2\r\n",
         "[Einstellungen]\r\nDesign = 205\r\nDesign = 2\r\nFPS = 0\r\nSuchseite = google.de\r\n"},
        {"key above the first group stays", "Design = 201\r\n[Einstellungen]\r\n",
         "Design = 201\r\n[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = google.de\r\n"},
        {"foreign groups and comments around stay in place",
         ";top\r\n[A]\r\na=1\r\n\r\n[Einstellungen] old\r\n; mine\r\nFPS=1\r\n;tail\r\n[B]\r\n;b\r\nb = 2\r\n",
         "; top\r\n[A]\r\na = 1\r\n[Einstellungen]\r\n; mine\r\nFPS = 0\r\n; tail\r\nDesign = 205\r\nSuchseite = "
         "google.de\r\n[B]\r\n; b\r\nb = 2\r\n"},
        {"utf-8 file keeps its mark", kBom + "[Einstellungen]\r\nFPS = 1\r\n",
         kBom + "\r\n[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = google.de\r\n"},
    };
    for (const ComposeCase& c : cases) {
        EXPECT_EQ(saveThree(c.input, 0, 205, "google.de"), c.saved) << c.what;
    }
}

TEST(PreferencesWrite, IntegersAreWrittenLikePercentI)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "0"}, {-5, "-5"}, {213, "213"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto& [value, text] : cases) {
        PreferencesFile doc;
        doc.parse("[G]");
        doc.selectGroup("G");
        doc.writeInteger("n", value);
        EXPECT_EQ(doc.entries().back(), K("n", text));
        EXPECT_EQ(doc.readInteger("n", 1), value);
    }
}

TEST(PreferencesWrite, TextValuesRoundTripInBothModes)
{
    for (const std::string& start : {std::string(), kBom}) {
        PreferencesFile doc;
        doc.parse(start);
        doc.selectGroup("Einstellungen");
        doc.writeString("Suchseite",
                        "b\xC3\xBC"
                        "cher.de");
        doc.writeString("Leer", "");
        PreferencesFile reread;
        reread.parse(doc.compose());
        reread.selectGroup("Einstellungen");
        EXPECT_EQ(reread.readString("Suchseite", "x"),
                  "b\xC3\xBC"
                  "cher.de");
        EXPECT_EQ(reread.readString("Leer", "x"), "");
    }
    PreferencesFile utf8;
    utf8.parse(kBom);
    utf8.selectGroup("\xC3\x84");
    utf8.writeString("k", "\xC3\xA9");
    EXPECT_EQ(utf8.entries(), (Entries{G("\xC3\x84"), K("k", "\xC3\xA9")}));
}

TEST(PreferencesWrite, TextKeepsItsBytesAndNoCharacterIsLost)
{
    // A value written back as it was read keeps its bytes, malformed ones too.
    PreferencesFile odd;
    odd.parse(kBom + "[E]\r\nSuchseite = ab\xC3\r\n");
    odd.selectGroup("E");
    odd.writeString("Suchseite", odd.readString("Suchseite", ""));
    EXPECT_EQ(odd.compose(), kBom + "\r\n[E]\r\nSuchseite = ab\xC3\r\n");

    // Windows-1252, the euro sign and an undefined byte included, round trips.
    PreferencesFile single;
    single.parse("[E]\r\nx = \x80\x81\xFC\r\n");
    single.selectGroup("E");
    EXPECT_EQ(single.readString("x", ""), "\xE2\x82\xAC\xC2\x81\xC3\xBC");
    single.writeString("x", single.readString("x", ""));
    EXPECT_EQ(single.compose(), "[E]\r\nx = \x80\x81\xFC\r\n");

    // A character the code page lacks makes the document UTF-8 (without a mark,
    // as it reads back), the older lines converted.
    single.writeString("y", "\xE7\x8E\x8B");
    EXPECT_EQ(single.compose(), "[E]\r\nx = \xE2\x82\xAC\xC2\x81\xC3\xBC\r\ny = \xE7\x8E\x8B\r\n");
    PreferencesFile reread;
    reread.parse(single.compose());
    reread.selectGroup("E");
    EXPECT_EQ(reread.readString("x", ""), "\xE2\x82\xAC\xC2\x81\xC3\xBC");
    EXPECT_EQ(reread.readString("y", ""), "\xE7\x8E\x8B");
}

TEST(PreferencesWrite, NewKeysGoToTheEndOfTheCurrentSection)
{
    PreferencesFile doc;
    doc.parse("top=1\r\n[A]\r\n[B]\r\nb=1\r\n");
    doc.selectGroup("");
    doc.writeString("top2", "2");
    doc.selectGroup("a");
    doc.writeString("a", "3");
    doc.selectGroup("B");
    doc.writeString("b2", "4");
    EXPECT_EQ(doc.entries(),
              (Entries{K("top", "1"), K("top2", "2"), G("A"), K("a", "3"), G("B"), K("b", "1"), K("b2", "4")}));
}

TEST(PreferencesWrite, PendingGroupIsAddedOnlyByAWrite)
{
    PreferencesFile doc;
    doc.parse("[A]\r\n");
    EXPECT_EQ(doc.selectGroup("Neu"), 0);
    EXPECT_EQ(doc.readInteger("k", 9), 9);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.entries(), (Entries{G("A")}));

    doc.writeInteger("k", 1);
    doc.writeInteger("l", 2);
    EXPECT_EQ(doc.entries(), (Entries{G("A"), G("Neu"), K("k", "1"), K("l", "2")}));
    EXPECT_EQ(doc.readInteger("k", 9), 1);
}

// Notepad's "Unicode" and "Unicode big endian": read as UTF-16, written back
// in it with the mark. Unchanged, a canonical file comes back byte for byte,
// a character outside the BMP, a lone surrogate and an odd last byte included.
TEST(PreferencesEncoding, Utf16FilesComeBackInTheirEncoding)
{
    const std::string text =
        "[Einstellungen]\r\nFPS = 1\r\n; \xF0\x9F\x94\x8E \xED\xA0\x80\r\n"
        "[Eigene Suchseiten]\r\nLEO W\xC3\xB6rterbuch = https://dict.leo.org/%s\r\n";
    for (const bool bigEndian : {false, true}) {
        const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        const std::string file = mark + utf16FromUtf8(text, bigEndian) + "!";
        PreferencesFile doc;
        doc.parse(file);
        EXPECT_EQ(doc.encoding(),
                  bigEndian ? PreferencesFile::TextEncoding::Utf16BE : PreferencesFile::TextEncoding::Utf16LE);
        EXPECT_EQ(doc.compose(), file) << bigEndian;
        doc.selectGroup("Eigene Suchseiten");
        EXPECT_EQ(doc.keyLines().at(0).key, "LEO W\xC3\xB6rterbuch");
        doc.selectGroup("Einstellungen");
        doc.writeInteger("FPS", 1);
        EXPECT_FALSE(doc.isModified()) << "a value the file holds is no change";
        doc.writeInteger("FPS", 0);
        std::string changed = text;
        changed.replace(changed.find("FPS = 1"), 7, "FPS = 0");
        EXPECT_EQ(doc.compose(), mark + utf16FromUtf8(changed, bigEndian) + "!") << bigEndian;
    }
}

// A value the file holds already, in whatever spelling, changes nothing; the
// spelling is the program's only when the file is rewritten anyway.
TEST(PreferencesWrite, WritingWhatTheFileHoldsIsNoChange)
{
    PreferencesFile doc;
    doc.parse("[Einstellungen]\r\n  design=0205 ; mein Liebling\r\nSuchseite =  dict.cc  \r\n");
    doc.selectGroup("Einstellungen");
    doc.writeInteger("Design", 205);
    doc.writeString("Suchseite", "dict.cc");
    EXPECT_FALSE(doc.isModified());
    doc.writeInteger("FPS", 0);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.compose(), "[Einstellungen]\r\nDesign = 205\r\nSuchseite = dict.cc\r\nFPS = 0\r\n");
}

TEST(PreferencesFileState, ClosedDocumentDoesNothing)
{
    PreferencesFile doc;
    EXPECT_FALSE(doc.isOpen());
    EXPECT_EQ(doc.selectGroup("Einstellungen"), 0);
    doc.writeInteger("FPS", 0);
    EXPECT_EQ(doc.readInteger("FPS", 7), 7);
    EXPECT_EQ(doc.readString("Suchseite", "d"), "d");
    EXPECT_TRUE(doc.entries().empty());
    EXPECT_FALSE(doc.isModified());
}

TEST(PreferencesFileState, ReadsLeaveTheDocumentUnmodified)
{
    PreferencesFile doc;
    doc.parse("[Einstellungen]\r\nFPS=1\r\n");
    doc.selectGroup("Einstellungen");
    doc.readInteger("FPS", 0);
    doc.readString("Suchseite", "");
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(doc.close());
    EXPECT_FALSE(doc.isOpen());
}

}  // namespace
}  // namespace tellurix
