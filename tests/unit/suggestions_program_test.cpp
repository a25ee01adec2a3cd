// The list under the search field in the running program: earlier searches as
// the user types, the keys in it, a click, and the web's rows for those who
// switched them on.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/main_window.h"
#include "fake_platform/fake_http.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fake_tray.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::EventKind;
using platform::EventSubtype;
using platform::Key;

constexpr const char* kSource = "http://127.0.0.1:8123/s?q=%s";

class SuggestionsTest : public testing::ProgramFixture {
protected:
    void start(const std::string& settings)
    {
        writeProgramFile("Einstellungen.ini", "[Einstellungen]\r\nFPS = 0\r\n" + settings);
        writeProgramFile("Verlauf.txt", "wetter morgen\r\nkarten\r\nWeg nach Hause\r\nbahn\r\nwein\r\n");
        ASSERT_TRUE(startUp(program()));
        bringUpMainWindow();
        fake::setForeground(kMainWindow);
        typeInField("");
    }
    // The user types: the field changes at once, the list follows.
    void type(const std::string& text)
    {
        typeInField(text);
        runQueuedEvents();
    }
    void press(platform::KeyPress key) { pressTakenKey(key); }
    std::vector<std::string> rows() const
    {
        const auto* list = fake::control(kSuggestionList);
        return list && fake::window(kSuggestionWindow)->visible ? list->items : std::vector<std::string>{};
    }
    static std::string field() { return fake::control(kSearchField)->text; }
};

TEST_F(SuggestionsTest, EarlierSearchesComeAsOneTypesAndTheKeysPickOne)
{
    start("");
    type("we");
    EXPECT_EQ(rows(), (std::vector<std::string>{"wetter morgen", "Weg nach Hause", "wein"}));
    EXPECT_EQ(platform::focusedControl(), kSearchField) << "the list never takes the keyboard";
    const platform::Rect fieldRect = platform::controlScreenRect(kSearchField);
    const platform::Rect list = fake::window(kSuggestionWindow)->outer;
    EXPECT_EQ(list.width, fieldRect.width);
    EXPECT_EQ(list.y, fieldRect.y + fieldRect.height);
    EXPECT_TRUE(fake::httpCalls().empty()) << "the web is asked only when switched on";

    press({Key::Down});
    press({Key::Down});
    EXPECT_EQ(field(), "Weg nach Hause");
    EXPECT_EQ(fake::control(kSuggestionList)->selection, 1);
    press({Key::Up});
    press({Key::Up});
    EXPECT_EQ(field(), "we") << "Up from the first row: what was typed";
    press({Key::Down});
    press({Key::Down});
    dispatchEvent(program(), {EventKind::Menu, kMenuReturn, EventSubtype::None});
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_NE(fake::launchedUrls()[0].find("q=Weg%20nach%20Hause"), std::string::npos);
    EXPECT_FALSE(platform::isWindowVisible(kSuggestionWindow)) << "the list goes with the bar";
}

TEST_F(SuggestionsTest, EscapeClosesTheListFirstShiftDeleteForgetsAndAClickSearches)
{
    start("");
    type("we");
    press({Key::Down});
    press({Key::Delete, false, true});
    EXPECT_EQ(rows(), (std::vector<std::string>{"Weg nach Hause", "wein"}));
    EXPECT_EQ(field(), "we");

    press({Key::Escape});
    EXPECT_FALSE(platform::isWindowVisible(kSuggestionWindow));
    EXPECT_TRUE(fake::window(kMainWindow)->visible) << "the first Escape only closes the list";
    EXPECT_FALSE(fake::pressKey({Key::Escape})) << "the next Escape is the bar's again";

    type("wei");
    fake::selectListItem(kSuggestionList, 0);
    dispatchEvent(program(), {EventKind::Control, kSuggestionList, EventSubtype::SelectionChanged});
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_NE(fake::launchedUrls()[0].find("q=wein"), std::string::npos);
}

TEST_F(SuggestionsTest, AClearedHistoryLeavesNoEarlierSearchInTheList)
{
    start("");
    type("we");
    ASSERT_FALSE(rows().empty());
    press({Key::Delete, false, true, true});
    EXPECT_TRUE(rows().empty());
}

TEST_F(SuggestionsTest, TheWebIsAskedForTheTermAfterAPauseAndItsRowsFollowTheEarlierOnes)
{
    start(std::string("[Vorschlaege]\r\nAktiv = 1\r\nQuelle = ") + kSource + "\r\n");
    fake::setClock(1000);
    type("!w we");
    EXPECT_TRUE(fake::httpCalls().empty()) << "not before the typing rests";
    fake::setClock(1150);
    ASSERT_TRUE(fake::fireTimer(kSuggestionTimer));
    runQueuedEvents();
    ASSERT_EQ(fake::httpCalls().size(), 1u);
    EXPECT_EQ(fake::httpCalls()[0].url, "http://127.0.0.1:8123/s?q=we") << "the keyword is never sent";

    ASSERT_TRUE(
        fake::finishHttp(fake::httpCalls()[0].request, {platform::HttpOutcome::Answered, 200, "application/json",
                                                        R"(["we",["wetter morgen","werder bremen","wechselkurs"]])"}));
    runQueuedEvents();
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"wetter morgen", "Weg nach Hause", "wein", "werder bremen", "wechselkurs"}));
    press({Key::Down});
    press({Key::Down});
    press({Key::Down});
    press({Key::Down});
    EXPECT_EQ(field(), "!w werder bremen");
}

TEST_F(SuggestionsTest, ANewSourceAsksAtOnceWhileTheCancelledRequestOfTheOldOneStillEnds)
{
    const std::string settings = "[Einstellungen]\r\nFPS = 0\r\n[Vorschlaege]\r\nAktiv = 1\r\nQuelle = ";
    start(std::string("[Vorschlaege]\r\nAktiv = 1\r\nQuelle = ") + kSource + "\r\n");
    fake::setClock(1000);
    type("we");
    fake::setClock(1150);
    ASSERT_TRUE(fake::fireTimer(kSuggestionTimer));
    runQueuedEvents();
    ASSERT_EQ(fake::httpCalls().size(), 1u);

    // Another source while the first request runs: that one is called off,
    // but its worker holds its number a while yet. (An address of another
    // length: file times under Wine are too coarse to tell the change.)
    writeProgramFile("Einstellungen.ini", settings + "http://127.0.0.1:8124/andere?q=%s\r\n");
    dispatchEvent(program(), {EventKind::BringUp, kMainWindow, EventSubtype::None});
    ASSERT_TRUE(fake::httpCalls()[0].cancelled);
    type("wet");
    fake::setClock(1400);
    ASSERT_TRUE(fake::fireTimer(kSuggestionTimer));
    runQueuedEvents();
    ASSERT_EQ(fake::httpCalls().size(), 2u) << "the new source was asked";
    EXPECT_EQ(fake::httpCalls()[1].url, "http://127.0.0.1:8124/andere?q=wet");
    EXPECT_TRUE(fake::finishHttp(fake::httpCalls()[1].request, {platform::HttpOutcome::Answered, 200,
                                                                "application/json", R"(["wet",["wetterdienst"]])"}));
    runQueuedEvents();
    EXPECT_EQ(rows(), (std::vector<std::string>{"wetter morgen", "wetterdienst"}));
}

TEST_F(SuggestionsTest, ABadSettingKeepsTheWebOutAndIsToldOnce)
{
    start("[Vorschlaege]\r\nAktiv = ja\r\n");
    ASSERT_EQ(fake::balloons().size(), 1u);
    EXPECT_EQ(fake::balloons()[0].title, "Vorschl\xC3\xA4ge");
    fake::setClock(5000);
    type("we");
    EXPECT_EQ(fake::timerDue(kSuggestionTimer), -1);
    dispatchEvent(program(), {EventKind::BringUp, kMainWindow, EventSubtype::None});
    EXPECT_EQ(fake::balloons().size(), 1u);
    EXPECT_TRUE(fake::httpCalls().empty());
}

}  // namespace
}  // namespace tellurix
