// The search field's placeholder, the guards of a search, and the site picker,
// driven through the event loop's dispatch against the in-memory toolkit.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "core/numbers.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fault_injection.h"
#include "search/catalogue.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using platform::Event;
using platform::EventKind;
using platform::EventSubtype;

constexpr const char* kGoogle = "https://www.google.de/search?q=";

class SearchTest : public testing::ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        ASSERT_TRUE(startUp(program()));
        bringUpMainWindow();
        fake::setForeground(kMainWindow);
    }
    void send(EventKind kind, int number, EventSubtype subtype = EventSubtype::None)
    {
        dispatchEvent(program(), {kind, number, subtype});
    }
    // The user clicks into the field and types.
    void typeTerm(const std::string& text)
    {
        fake::setFocusedControl(kSearchField);
        send(EventKind::Control, kSearchField, EventSubtype::FocusGained);
        typeInField(text);
    }
    void pressReturn() { send(EventKind::Menu, kMenuReturn); }
    std::string fieldText() { return fake::control(kSearchField)->text; }
    std::string labelText() { return fake::control(kSiteLabel)->text; }
};

TEST_F(SearchTest, PlaceholderLeavesOnFocusAndComesBackOnlyForAnEmptyField)
{
    EXPECT_EQ(fieldText(), "Suchen...");
    send(EventKind::Control, kSearchField, EventSubtype::FocusGained);
    EXPECT_EQ(fieldText(), "");
    send(EventKind::Control, kSearchField, EventSubtype::FocusLost);
    EXPECT_EQ(fieldText(), "Suchen...");

    typeTerm("abc");
    send(EventKind::Control, kSearchField, EventSubtype::FocusLost);
    EXPECT_EQ(fieldText(), "abc") << "a typed term survives leaving the field";
    send(EventKind::Control, kSearchField, EventSubtype::FocusGained);
    EXPECT_EQ(fieldText(), "abc");
}

TEST_F(SearchTest, ReturnSearchesTheLabelledSiteHidesTheBarAndResetsTheField)
{
    typeTerm("abc");
    pressReturn();
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_EQ(fake::launchedUrls()[0], std::string(kGoogle) + "abc&hl=de");
    EXPECT_FALSE(fake::window(kMainWindow)->visible);
    EXPECT_EQ(fieldText(), "Suchen...");
}

TEST_F(SearchTest, TheTermReachesTheSiteAsPercentEncodedUtf8)
{
    // "Müller & C#" typed: the term is taken as UTF-8.
    typeTerm("M\xC3\xBCller & C#");
    pressReturn();
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_EQ(fake::launchedUrls()[0], std::string(kGoogle) + "M%C3%BCller%20%26%20C%23&hl=de");
}

TEST_F(SearchTest, NothingStartsWithoutFocusTermOrKnownSite)
{
    // A term, but the focus is elsewhere (the picker list, say).
    typeTerm("abc");
    fake::setFocusedControl(kPickerList);
    pressReturn();
    // Focus back, but the field is empty.
    typeInField("");
    pressReturn();
    EXPECT_TRUE(fake::launchedUrls().empty());
    EXPECT_TRUE(fake::window(kMainWindow)->visible);

    for (const char* label : {"", "Google.de", "google.de ", "nirgendwo.de", "C:\\windows\\notepad.exe"}) {
        SCOPED_TRACE(label);
        program().bar.chooseSite(label);
        typeTerm("abc");
        pressReturn();
        EXPECT_TRUE(fake::launchedUrls().empty());
        EXPECT_TRUE(fake::window(kMainWindow)->visible) << "the bar stays for the user to see";
        EXPECT_EQ(fieldText(), "abc") << "the term stays in the field";
    }
}

TEST_F(SearchTest, PickerOpensUnderTheLabelWithEveryLabelAndNoSelection)
{
    const platform::Rect label = platform::controlScreenRect(kSiteLabel);
    send(EventKind::Control, kSiteLabel, EventSubtype::LeftClick);
    const auto* picker = fake::window(kPickerWindow);
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->visible);
    EXPECT_EQ(picker->outer.x, label.x);
    EXPECT_EQ(picker->outer.y, label.y + 20);
    EXPECT_EQ(picker->outer.width, 150);
    EXPECT_EQ(picker->outer.height, 200);
    const auto* list = fake::control(kPickerList);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->items.size(), static_cast<size_t>(kFilledSites));
    for (int position = 0; position < kFilledSites; ++position)
        EXPECT_EQ(list->items[position], program().bar.catalogue().site(position).label);
    EXPECT_EQ(list->selection, -1);
    EXPECT_EQ(platform::focusedControl(), kPickerList);

    // Focus arriving in the list picks nothing.
    send(EventKind::Control, kPickerList, EventSubtype::FocusGained);
    EXPECT_TRUE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(labelText(), "google.de");
}

TEST_F(SearchTest, TheFirstSelectionPicksClosesAndTheNextSearchGoesThere)
{
    send(EventKind::Control, kSiteLabel, EventSubtype::LeftClick);
    fake::selectListItem(kPickerList, 24);
    send(EventKind::Control, kPickerList, EventSubtype::SelectionChanged);
    EXPECT_FALSE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(labelText(), program().bar.catalogue().site(24).label);
    EXPECT_EQ(platform::foregroundWindow(), kMainWindow) << "the bar is active again after a pick";

    typeTerm("abc");
    pressReturn();
    ASSERT_EQ(fake::launchedUrls().size(), 1u);
    EXPECT_EQ(fake::launchedUrls()[0],
              program().bar.catalogue().site(24).urlPrefix + "abc" + program().bar.catalogue().site(24).urlSuffix);
}

TEST_F(SearchTest, TheBarInTheForegroundClosesThePickerWithoutAChoice)
{
    send(EventKind::Control, kSiteLabel, EventSubtype::LeftClick);
    ASSERT_EQ(platform::foregroundWindow(), kPickerWindow);

    // Another program or the picker in the foreground: the picker stays.
    fake::setForeground(platform::kNoWindow);
    fake::queueEvent({EventKind::None, 0, EventSubtype::None});
    runEventLoopTurn(program());
    EXPECT_TRUE(platform::isWindowOpen(kPickerWindow));

    fake::setForeground(kMainWindow);
    fake::queueEvent({EventKind::None, 0, EventSubtype::None});
    runEventLoopTurn(program());
    EXPECT_FALSE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(labelText(), "google.de");
}

TEST_F(SearchTest, AClickOnTheLabelReplacesAnOpenPickerAndAltF4ClosesOnlyThePicker)
{
    send(EventKind::Control, kSiteLabel, EventSubtype::LeftClick);
    fake::selectListItem(kPickerList, 3);
    fake::setForeground(kMainWindow);
    fake::queueEvent({EventKind::Control, kSiteLabel, EventSubtype::LeftClick});
    runEventLoopTurn(program());
    ASSERT_TRUE(platform::isWindowOpen(kPickerWindow));
    EXPECT_EQ(fake::control(kPickerList)->selection, -1) << "a fresh picker";

    send(EventKind::Close, kPickerWindow);
    EXPECT_FALSE(platform::isWindowOpen(kPickerWindow));
    EXPECT_TRUE(fake::window(kMainWindow)->visible);
    EXPECT_EQ(labelText(), "google.de");
}

}  // namespace
}  // namespace tellurix
