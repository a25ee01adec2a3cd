// The chord's spellings in the settings file, and which key strokes on the
// desktop bring up the bar and which are kept from the program in front.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/event_loop.h"
#include "app/program.h"
#include "core/hotkey_chord.h"
#include "core/numbers.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;
using platform::KeyVerdict;

constexpr Side E = Side::Either, L = Side::Left, R = Side::Right, N = Side::None;

TEST(HotkeyChord, SpellingsAndWhatTheyMean)
{
    struct Case {
        const char* text;
        HotkeyChord chord;
    };
    const Case chords[] = {
        {"Strg+Alt+K", {E, N, E, N, 'K'}},      {" strg + ALT + k ", {E, N, E, N, 'K'}},
        {"LStrg+LUmschalt+S", kStandardChord},  {"RStrg+RUmschalt+Leertaste", {R, R, N, N, kVkSpace}},
        {"Win+Umschalt+K", {N, E, N, E, 'K'}},  {"LWin+RAlt+F1", {N, N, R, L, kVkF1}},
        {"F13", {N, N, N, N, kVkF13}},          {"Umschalt+F24", {N, E, N, N, kVkF24}},
        {"Strg+F12", {E, N, N, N, kVkF1 + 11}}, {"Win+Q", {N, N, N, E, 'Q'}},
        {"Win+Strg+E", {E, N, N, E, 'E'}},      {"Strg+Alt+F4", {E, N, E, N, kVkF4}},
        {"Win+Alt+S", {N, N, E, E, 'S'}},       {"RStrg+Alt+Leertaste", {R, N, E, N, kVkSpace}},
    };
    for (const Case& c : chords) {
        const ChordReading reading = readChord(c.text);
        ASSERT_TRUE(reading.chord) << c.text << ": " << reading.problem;
        EXPECT_EQ(*reading.chord, c.chord) << c.text;
        EXPECT_EQ(unpackChord(packChord(*reading.chord)), c.chord) << c.text;
        EXPECT_EQ(readChord(spellChord(c.chord)).chord, c.chord) << spellChord(c.chord);
    }
    const char* const problems[] = {
        "",        "K",          "Umschalt+K",  "Umschalt+Leertaste", "F12",          "Strg",    "Strg+Alt", "Strg++K",
        "Strg+K+", "Strg+K+Alt", "Strg+K+L",    "Strg+LStrg+K",       "Alt+Alt+K",    "Strg+F0", "Strg+F25", "Strg+F01",
        "Strg+Ä",  "Ctrl+K",     "Strg+Alt+KK", "Strg Alt K",         "Strg+Alt+Esc",
    };
    for (const char* text : problems) {
        const ChordReading reading = readChord(text);
        EXPECT_FALSE(reading.chord) << "'" << text << "' was taken";
        EXPECT_FALSE(reading.problem.empty()) << text;
    }
}

TEST(HotkeyChord, ChordsWindowsKeepsOrEveryProgramNeedsAreRefused)
{
    const struct {
        const char* text;
        const char* problem;
    } taken[] = {
        {"Win+L", "Win+L gehört Windows: sperrt den Computer, bevor ein Programm die Taste sieht"},
        {"LWin+RStrg+Umschalt+L", "Win+L gehört Windows: sperrt den Computer, bevor ein Programm die Taste sieht"},
        {"Alt+F4", "Alt+F4 gehört jedem Programm: schließt das Fenster"},
        {"RAlt+Umschalt+Win+F4", "Alt+F4 gehört jedem Programm: schließt das Fenster"},
        {"LAlt+Leertaste", "Alt+Leertaste gehört jedem Programm: öffnet das Fenstermenü"},
        {"Win+Strg+Leertaste", "Win+Leertaste gehört Windows: wechselt die Eingabesprache"},
        {"Strg+Umschalt+RWin+0", "Win+0 gehört Windows: startet die Programme der Taskleiste"},
        {"Win+Umschalt+S", "Win+Umschalt+S gehört Windows: nimmt einen Bildschirmausschnitt auf"},
        {"Win+Strg+Umschalt+B", "Win+Strg+Umschalt+B gehört Windows: weckt den Bildschirm auf"},
        {"LStrg+Win+F4", "Win+Strg+F4 gehört Windows: schließt den virtuellen Desktop"},
        {"Win+Alt+K", "Win+Alt+K gehört Windows: schaltet das Mikrofon stumm"},
    };
    for (const auto& c : taken)
        EXPECT_EQ(readChord(c.text).problem, c.problem) << c.text;
    // Every letter but Q (Windows 11 lists nothing for Win+Q); L has its own words.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string chord = std::string("LWin+") + letter;
        const ChordReading reading = readChord(chord);
        EXPECT_EQ(reading.chord.has_value(), letter == 'Q') << chord;
        EXPECT_EQ(reading.problem.starts_with("Win+" + std::string(1, letter) + " geh"), letter != 'Q') << chord;
    }
}

TEST(HotkeyChord, ExactlyTheChordsModifiersOnTheirSides)
{
    const HotkeyChord standard = kStandardChord;
    const HotkeyChord either = *readChord("Strg+Alt+K").chord;
    ModifierKeys held;
    held.leftControl = held.leftShift = true;
    EXPECT_TRUE(modifiersMatch(standard, held));
    EXPECT_FALSE(modifiersMatch(either, held));
    held.rightControl = true;
    EXPECT_FALSE(modifiersMatch(standard, held)) << "a right Ctrl besides the left one";
    held = {};
    held.rightControl = held.rightShift = true;
    EXPECT_FALSE(modifiersMatch(standard, held));
    held = {};
    held.leftControl = held.leftShift = held.leftAlt = true;
    EXPECT_FALSE(modifiersMatch(standard, held)) << "Alt held as well";
    held.leftShift = false;
    EXPECT_TRUE(modifiersMatch(either, held));
    held.leftControl = false;
    held.rightControl = true;
    EXPECT_TRUE(modifiersMatch(either, held)) << "either Ctrl";
    held.leftWindows = true;
    EXPECT_FALSE(modifiersMatch(either, held)) << "a Windows key held as well";
}

TEST(HotkeyChord, DescribedInTheProgramsWords)
{
    EXPECT_EQ(describeChord(kStandardChord), "linker Strg + linker Shift + S");
    EXPECT_EQ(describeChord(*readChord("RStrg+Win+F2").chord), "rechter Strg + Win + F2");
    EXPECT_EQ(describeChord(*readChord("F19").chord), "F19");
    EXPECT_EQ(spellChord(kStandardChord), "LStrg+LUmschalt+S");
    EXPECT_EQ(spellChord({R, E, N, L, kVkF1 + 23}), "LWin+RStrg+Umschalt+F24");
}

class HotkeyTest : public testing::ProgramFixture {
protected:
    void writeSettings(const std::string& extra) const
    {
        writeProgramFile("Einstellungen.ini",
                         "[Einstellungen]\r\nFPS = 0\r\nDesign = 203\r\nSuchseite = google.de\r\n" + extra);
    }
    std::string readSettings() const { return readProgramFile("Einstellungen.ini"); }
    // Presses the keys in order, strokes `key` (press, repeats, release) and
    // lets the keys go again; the verdicts on the key's strokes.
    std::vector<KeyVerdict> chord(std::initializer_list<int> modifiers, int key, int repeats = 0)
    {
        for (int modifier : modifiers)
            EXPECT_EQ(fake::strokeKey(modifier, true, clock += 10), KeyVerdict::Pass) << "a modifier is never kept";
        std::vector<KeyVerdict> verdicts{fake::strokeKey(key, true, clock += 10)};
        for (int i = 0; i < repeats; ++i)
            verdicts.push_back(fake::strokeKey(key, true, clock += 33));
        verdicts.push_back(fake::strokeKey(key, false, clock += 10));
        for (int modifier : modifiers)
            EXPECT_EQ(fake::strokeKey(modifier, false, clock += 10), KeyVerdict::Pass);
        return verdicts;
    }
    static inline unsigned int clock = 1000;
};

TEST_F(HotkeyTest, TheChordFiresOnceAndIsKeptOtherKeysPass)
{
    writeSettings("");
    ASSERT_TRUE(startUp(program()));
    ASSERT_TRUE(fake::keyboardHookInstalled());
    const std::vector<KeyVerdict> kept(5, KeyVerdict::Keep);
    const std::vector<KeyVerdict> passed(5, KeyVerdict::Pass);

    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S', 3), kept) << "press, repeats and release are kept";
    EXPECT_EQ(fake::bringUpRequests(), 1) << "the repeats do not fire again";
    EXPECT_EQ(chord({kVkLeftShift, kVkLeftControl}, 'S', 3), kept) << "the modifiers in either order";
    EXPECT_EQ(fake::bringUpRequests(), 2);

    EXPECT_EQ(chord({kVkRightControl, kVkRightShift}, 'S', 3), passed);
    EXPECT_EQ(chord({kVkLeftControl, kVkRightShift}, 'S', 3), passed);
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift, kVkLeftAlt}, 'S', 3), passed);
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift, kVkRightWindows}, 'S', 3), passed);
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'D', 3), passed);
    EXPECT_EQ(chord({}, 'S', 3), passed);
    EXPECT_EQ(fake::bringUpRequests(), 2);
    EXPECT_EQ(fake::neutralKeyPresses(), 0) << "no Alt or Windows key in the chord";

    // S first, then the modifiers: only a press of the key completes the chord.
    EXPECT_EQ(fake::strokeKey('S', true, clock += 10), KeyVerdict::Pass);
    fake::strokeKey(kVkLeftControl, true, clock += 10);
    fake::strokeKey(kVkLeftShift, true, clock += 10);
    EXPECT_EQ(fake::strokeKey('S', true, clock += 33), KeyVerdict::Pass) << "a repeat is no press";
    EXPECT_EQ(fake::strokeKey('S', false, clock += 10), KeyVerdict::Pass);
    EXPECT_EQ(fake::bringUpRequests(), 2);
}

TEST_F(HotkeyTest, APressAfterAnUnseenReleaseStillFires)
{
    writeSettings("");
    ASSERT_TRUE(startUp(program()));
    fake::strokeKey(kVkLeftControl, true, clock += 10);
    fake::strokeKey(kVkLeftShift, true, clock += 10);
    EXPECT_EQ(fake::strokeKey('S', true, clock += 10), KeyVerdict::Keep);
    // The release never reached the hook (the desktop was locked, say).
    EXPECT_EQ(fake::strokeKey('S', true, clock += 3000), KeyVerdict::Keep);
    EXPECT_EQ(fake::bringUpRequests(), 2);
}

TEST_F(HotkeyTest, TheUsersChordReplacesTheStandardOneAndMasksAlt)
{
    writeSettings("Tastenkuerzel = Strg+Alt+K\r\n");
    ASSERT_TRUE(startUp(program()));
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, KeyVerdict::Pass));
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftAlt}, 'K'), std::vector(2, KeyVerdict::Keep));
    EXPECT_EQ(chord({kVkRightAlt, kVkRightControl}, 'K'), std::vector(2, KeyVerdict::Keep));
    EXPECT_EQ(fake::bringUpRequests(), 2);
    EXPECT_EQ(fake::neutralKeyPresses(), 2) << "each kept K comes between Alt's press and its release";
    EXPECT_TRUE(fake::balloons().empty());
}

TEST_F(HotkeyTest, ABadChordKeepsTheStandardOneIsToldOnceAndStaysInTheFile)
{
    const std::string line = "Tastenkuerzel = Umschalt+K\r\n";
    writeSettings(line);
    ASSERT_TRUE(startUp(program()));
    ASSERT_EQ(fake::balloons().size(), 1u);
    EXPECT_EQ(fake::balloons()[0].title, "Tastenk\xC3\xBCrzel");
    EXPECT_NE(fake::balloons()[0].text.find("Umschalt+K"), std::string::npos) << fake::balloons()[0].text;
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, KeyVerdict::Keep));
    dispatchEvent(program(), {EventKind::BringUp, kMainWindow, EventSubtype::None});
    EXPECT_EQ(fake::balloons().size(), 1u);

    // Mended while the program runs: the next bring-up takes the new chord.
    writeSettings("Tastenkuerzel = Strg+Umschalt+F5\r\n");
    dispatchEvent(program(), {EventKind::BringUp, kMainWindow, EventSubtype::None});
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, KeyVerdict::Pass));
    EXPECT_EQ(chord({kVkRightControl, kVkLeftShift}, kVkF1 + 4), std::vector(2, KeyVerdict::Keep));
    quitProgram();
    EXPECT_NE(readSettings().find("Tastenkuerzel = Strg+Umschalt+F5\r\n"), std::string::npos) << readSettings();
}

// Windows removed the hook without a word: the next key press the system sees
// brings it back, so the chord right after works. Keys an elevated window
// takes (no hook of ours sees them) are no such sign.
TEST_F(HotkeyTest, ARemovedHookComesBackAtTheNextKeyPress)
{
    writeSettings("");
    ASSERT_TRUE(startUp(program()));
    EXPECT_EQ(chord({}, 'A'), std::vector(2, KeyVerdict::Pass));
    EXPECT_EQ(fake::keyboardHookInstalls(), 1) << "a hook that sees the keys stays as it is";
    fake::loseKeyboardHook();
    EXPECT_EQ(chord({}, 'A'), std::vector(2, KeyVerdict::Pass));
    EXPECT_EQ(fake::keyboardHookInstalls(), 2);
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, KeyVerdict::Keep));
    EXPECT_EQ(fake::bringUpRequests(), 1);

    fake::bringToFront(true);
    fake::loseKeyboardHook();
    chord({}, 'A');
    EXPECT_EQ(fake::keyboardHookInstalls(), 2);
}

// An elevated window in front gets the chord registered with Windows (its keys
// pass every hook by); a normal one has it unregistered again.
TEST_F(HotkeyTest, AnElevatedWindowInFrontGetsTheChordRegistered)
{
    writeSettings("Tastenkuerzel = Strg+Alt+K\r\n");
    ASSERT_TRUE(startUp(program()));
    EXPECT_FALSE(fake::registeredChord());
    fake::bringToFront(true);
    ASSERT_TRUE(fake::registeredChord());
    EXPECT_EQ(*fake::registeredChord(), *readChord("Strg+Alt+K").chord);
    fake::pressRegisteredChord();
    EXPECT_EQ(fake::bringUpRequests(), 1);
    fake::bringToFront(false);
    EXPECT_FALSE(fake::registeredChord());
}

// A full-screen game or presentation keeps the chord, unless "Vollbild = 1";
// a value other than 0 and 1 is told and changes nothing.
TEST_F(HotkeyTest, AFullScreenProgramKeepsTheChordUnlessTheUserSaidOtherwise)
{
    for (const std::string value : {"", "0", "1", "ja"}) {
        SCOPED_TRACE(value);
        restartProcess();
        writeSettings("Vollbild = " + value + "\r\n");
        ASSERT_TRUE(startUp(program()));
        fake::setFullScreenInFront(true);
        const KeyVerdict expected = value == "1" ? KeyVerdict::Keep : KeyVerdict::Pass;
        EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, expected));
        fake::bringToFront(true);
        fake::pressRegisteredChord();
        EXPECT_EQ(fake::bringUpRequests(), value == "1" ? 2 : 0);
        EXPECT_EQ(fake::balloons().size(), value == "ja" ? 1u : 0u);
        fake::setFullScreenInFront(false);
        EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, KeyVerdict::Keep));
    }
}

TEST_F(HotkeyTest, AChordWindowsKeepsIsRefusedLikeABadOne)
{
    writeSettings("Tastenkuerzel = LWin+E\r\n");
    ASSERT_TRUE(startUp(program()));
    ASSERT_EQ(fake::balloons().size(), 1u);
    EXPECT_EQ(fake::balloons()[0].text,
              "Tastenkuerzel = LWin+E\rWin+E geh\xC3\xB6rt Windows: \xC3\xB6"
              "ffnet den Explorer.\r"
              "Es gilt linker Strg + linker Shift + S.");
    EXPECT_EQ(chord({kVkLeftWindows}, 'E'), std::vector(2, KeyVerdict::Pass)) << "Windows keeps its chord";
    EXPECT_EQ(chord({kVkLeftControl, kVkLeftShift}, 'S'), std::vector(2, KeyVerdict::Keep));
}

TEST_F(HotkeyTest, WithoutTheHookTheKeysArePolled)
{
    fake::refuseKeyboardHook(true);
    ASSERT_TRUE(startUp(program()));
    EXPECT_FALSE(fake::keyboardHookInstalled());
    EXPECT_TRUE(fake::threadStarted()) << "the bar must stay reachable";
}

}  // namespace
}  // namespace tellurix
