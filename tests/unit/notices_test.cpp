// Balloon tips of the image buttons, the notice box and the information text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "core/numbers.h"
#include "core/text.h"
#include "app/event_loop.h"
#include "app/program.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"
#include "fake_platform/fault_injection.h"
#include "ui/notices.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result(1);
    for (char c : text) {
        if (c == '\r')
            result.emplace_back();
        else
            result.back() += c;
    }
    return result;
}

TEST(InformationText, DisplayNameFirstThenTheAboutTextInCp1252Lines)
{
    const std::string text = informationText(kStandardChord);
    const std::vector<std::string> rows = lines(text);
    ASSERT_GE(rows.size(), 4u) << text;
    EXPECT_EQ(rows[0], "Tellurix " TELLURIX_PROJECT_VERSION);
    EXPECT_EQ(rows[1], "") << "an empty line parts the name from the about text";
    EXPECT_FALSE(rows[2].empty());

    // Lines break with a lone CR, never with a line feed.
    EXPECT_EQ(text.find('\n'), std::string::npos);
    // It says how to call the bar up and where the settings live.
    EXPECT_EQ(rows[4], "Aufrufen mit linker Strg + linker Shift + S") << text;
    EXPECT_EQ(rows.back(), "%APPDATA%\\Brenmoor\\Tellurix\\Einstellungen.ini");
    // The program's text is UTF-8 (a-umlaut is C3 A4), converted only at the Windows edge.
    EXPECT_NE(text.find("w\xC3\xA4hlt"), std::string::npos) << text;
    EXPECT_TRUE(isValidUtf8(text));
}

TEST(InformationText, NamesTheChordInForce)
{
    const HotkeyChord chord = *readChord("Strg+Alt+K").chord;
    const std::vector<std::string> rows = lines(informationText(chord));
    ASSERT_GE(rows.size(), 5u);
    EXPECT_EQ(rows[4], "Aufrufen mit Strg + Alt + K");
}

class NoticesTest : public testing::ProgramFixture {
protected:
    std::vector<std::string> callsStartingWith(const std::string& prefix)
    {
        std::vector<std::string> calls;
        for (const std::string& call : fake::callLog())
            if (call.rfind(prefix, 0) == 0)
                calls.push_back(call);
        return calls;
    }
};

TEST_F(NoticesTest, EachImageButtonExplainsItselfWithTheInformationIcon)
{
    ASSERT_TRUE(startUp(program()));
    struct Expected {
        int control;
        const char* title;
        const char* text;
    };
    const Expected expected[] = {
        {3, "In den Vordergrund setzen",
         "Wenn Sie diese Option aktivieren, dann bleibt dieses Fenster dauerhaft im Vordergrund."},
        {4, "Nicht in den Vordergrund setzen",
         "Wenn Sie diese Option deaktivieren, dann bleibt dieses Fenster nicht mehr dauerhaft im Vordergrund."},
        {5, "Design wechseln", "Hier k\xC3\xB6nnen Sie das Design des Programms \xC3\xA4ndern."},
        {6, "Informationen", "Weitere Informationen des Programms finden Sie hier."},
        {7, "Beenden", "Das Programm wird beendet."},
        {8, "Autostart deaktivieren", "Das Programm wird beim Windows-Start nicht mehr automatisch gestartet."},
        {9, "Autostart aktivieren", "Das Programm wird beim Windows-Start automatisch gestartet."},
    };
    for (const Expected& tip : expected) {
        SCOPED_TRACE(tip.control);
        const auto* registered = platform::fake::balloonTip(tip.control);
        ASSERT_NE(registered, nullptr);
        EXPECT_EQ(registered->title, tip.title);
        EXPECT_EQ(registered->text, tip.text);
        EXPECT_EQ(registered->icon, 1) << "the information icon";
    }
    EXPECT_EQ(platform::fake::balloonTip(1), nullptr);
    EXPECT_EQ(platform::fake::balloonTip(2), nullptr);
}

TEST_F(NoticesTest, EveryImageButtonGetsOneTipOnceAllControlsExist)
{
    ASSERT_TRUE(startUp(program()));
    const std::vector<std::string> expected{"addBalloonTip 3", "addBalloonTip 4", "addBalloonTip 5", "addBalloonTip 6",
                                            "addBalloonTip 7", "addBalloonTip 8", "addBalloonTip 9"};
    EXPECT_EQ(callsStartingWith("addBalloonTip "), expected);
    // The hidden buttons 4 and 8 get theirs too, after the last control is made;
    // all of them once the start is complete for the user, before any show.
    EXPECT_GT(callIndex("addBalloonTip 3"), callIndex("createControl 9"));
    EXPECT_GT(callIndex("addBalloonTip 3"), callIndex("showMessageBox 0")) << "after the first-start notice";
    EXPECT_EQ(callIndex("showWindow 0"), -1);
    EXPECT_GT(callIndex("addBalloonTip 4"), callIndex("hideControl 4"));
    EXPECT_GT(callIndex("addBalloonTip 8"), callIndex("hideControl 8"));
}

TEST_F(NoticesTest, InformationButtonShowsTheInformationBoxOnLeftClicksOnly)
{
    ASSERT_TRUE(startUp(program()));
    const int before = fake::messageBoxesShown();

    dispatchEvent(program(), {EventKind::Control, kInfoButton, EventSubtype::DoubleClick});
    dispatchEvent(program(), {EventKind::Control, kInfoButton, EventSubtype::Other});
    EXPECT_EQ(fake::messageBoxesShown(), before);

    dispatchEvent(program(), {EventKind::Control, kInfoButton, EventSubtype::LeftClick});
    EXPECT_EQ(fake::messageBoxesShown(), before + 1);
    EXPECT_EQ(fake::lastMessageBoxTitle(), "Informationen");
    EXPECT_EQ(fake::lastMessageBoxText(), informationText(kStandardChord));

    dispatchEvent(program(), {EventKind::Control, kInfoButton, EventSubtype::LeftClick});
    EXPECT_EQ(fake::messageBoxesShown(), before + 2);
}

TEST_F(NoticesTest, NoticePassesTitleAndTextUnchanged)
{
    const std::string text =
        "Erste Zeile\rZweite & dritte \xC3\xBC"
        "ber 100 %";
    showNotice("Titel & Co.", text);
    EXPECT_EQ(fake::messageBoxesShown(), 1);
    EXPECT_EQ(fake::lastMessageBoxTitle(), "Titel & Co.");
    EXPECT_EQ(fake::lastMessageBoxText(), text);
}

}  // namespace
}  // namespace tellurix
