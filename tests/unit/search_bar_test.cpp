// The bar's model on its own: what the label says, what Up and Down bring
// back, what Return searches, and that the program's own placeholder in the
// field is never taken for something the user typed.
#include <gtest/gtest.h>

#include "../support/program_fixture.h"
#include "app/main_window.h"
#include "fake_platform/fake_toolkit.h"
#include "search/search_bar.h"
#include "ui/bar_view.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;

SearchBar barWith(std::vector<std::string> history)
{
    SearchBar bar;
    bar.chooseSite("wikipedia.org");
    bar.setKeywords(readKeywords({}, bar.catalogue().labels()));
    History entries;
    entries.entries = std::move(history);
    bar.setHistory(std::move(entries));
    return bar;
}

TEST(SearchBar, TheLabelFollowsAKeywordAndReturnSearchesItsSite)
{
    SearchBar bar = barWith({});
    bar.edit("!yt katzen");
    EXPECT_EQ(bar.label(), "youtube.com");
    EXPECT_EQ(bar.currentSite(), "wikipedia.org") << "a keyword leaves the chosen site alone";
    const auto request = bar.search();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->url, "https://www.youtube.com/results?search_query=katzen");
    EXPECT_EQ(request->typed, "!yt katzen");
    EXPECT_TRUE(bar.searched(*request));
    EXPECT_EQ(bar.text(), "");
    EXPECT_EQ(bar.label(), "wikipedia.org");
    EXPECT_EQ(bar.history().entries.front(), "!yt katzen");

    bar.edit("!yt ");
    EXPECT_FALSE(bar.search()) << "a keyword alone searches nothing";
    bar.chooseSite("nirgendwo.de");
    bar.edit("abc");
    EXPECT_FALSE(bar.search()) << "a site nobody knows searches nothing";
}

TEST(SearchBar, UpAndDownWalkTheHistoryAndAnEditEndsTheWalk)
{
    SearchBar bar = barWith({"drei", "zwei", "eins"});
    bar.edit("ange");
    EXPECT_TRUE(bar.up());
    EXPECT_TRUE(bar.up());
    EXPECT_EQ(bar.text(), "zwei");
    EXPECT_TRUE(bar.down());
    EXPECT_TRUE(bar.down());
    EXPECT_EQ(bar.text(), "ange");
    EXPECT_FALSE(bar.down());

    EXPECT_TRUE(bar.up());
    EXPECT_TRUE(bar.forgetShown());
    EXPECT_EQ(bar.text(), "ange");
    EXPECT_EQ(bar.history().entries, (std::vector<std::string>{"zwei", "eins"}));
    EXPECT_FALSE(bar.forgetShown()) << "nothing recalled, nothing forgotten";

    EXPECT_TRUE(bar.up());
    bar.edit("zweite");
    EXPECT_TRUE(bar.up());
    EXPECT_EQ(bar.text(), "zwei") << "after an edit Up starts again from the newest";
}

TEST(SearchBar, TheListOffersEarlierSearchesThenTheWebsAndTheKeysMoveThroughIt)
{
    SearchBar bar = barWith({"Wetter Berlin", "weg", "Wal", "wetter morgen"});
    bar.edit("!w we");
    EXPECT_EQ(bar.suggestionTerm(), "we");
    ASSERT_TRUE(bar.suggestionsOpen());
    const std::vector<SuggestionRow> earlier{{"Wetter Berlin", true}, {"weg", true}, {"wetter morgen", true}};
    EXPECT_EQ(bar.suggestions(), earlier);
    const std::string web[] = {"wetter", "WEG", "werder"};
    bar.setWebSuggestions("we", web);
    ASSERT_EQ(bar.suggestions().size(), 5u) << "a web row shown already as an earlier search comes once";
    EXPECT_EQ(bar.suggestions()[4], (SuggestionRow{"werder", false}));

    EXPECT_TRUE(bar.down());
    EXPECT_TRUE(bar.down());
    EXPECT_EQ(bar.text(), "!w weg") << "the keyword stays in front of the row";
    EXPECT_EQ(bar.label(), "wikipedia.org");
    ASSERT_TRUE(bar.search());
    EXPECT_EQ(bar.search()->url.find("search=weg"), bar.search()->url.find("search=")) << bar.search()->url;
    EXPECT_TRUE(bar.forgetShown());
    EXPECT_EQ(bar.text(), "!w we");
    EXPECT_EQ(bar.history().entries, (std::vector<std::string>{"Wetter Berlin", "Wal", "wetter morgen"}));
    EXPECT_EQ(bar.highlighted(), -1);
    EXPECT_TRUE(bar.down());
    EXPECT_TRUE(bar.up());
    EXPECT_EQ(bar.text(), "!w we") << "Up from the first row: the text as typed";
    EXPECT_FALSE(bar.up());

    bar.edit("!w wer");
    EXPECT_EQ(bar.suggestions(), (std::vector<SuggestionRow>{{"werder", false}})) << "the web's rows that still fit";
    bar.closeSuggestions();
    EXPECT_FALSE(bar.suggestionsOpen());
    bar.edit("");
    EXPECT_FALSE(bar.suggestionsOpen());
}

class BarViewTest : public testing::ProgramFixture {};

TEST_F(BarViewTest, ThePlaceholderIsNeverTakenForTyping)
{
    ASSERT_TRUE(createMainWindow());
    ASSERT_TRUE(buildMainWindowControls(program().designs));
    SearchBar& bar = program().bar;
    // The bar went away with the focus still in the field (as under Wine) and
    // got the placeholder back.
    fake::setFocusedControl(kSearchField);
    showFieldAfterSearch();
    onFieldChanged(bar);
    EXPECT_EQ(bar.text(), "");
    onFieldFocus(bar);
    EXPECT_EQ(fake::control(kSearchField)->text, "");

    fake::typeText(kSearchField, "Suchen");
    onFieldChanged(bar);
    fake::typeText(kSearchField, "Suchen...");
    onFieldChanged(bar);
    EXPECT_EQ(bar.text(), "Suchen...") << "typed by the user, it is a term like any other";
}

}  // namespace
}  // namespace tellurix
