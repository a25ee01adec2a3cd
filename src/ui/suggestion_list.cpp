#include "ui/suggestion_list.h"

#include "core/numbers.h"
#include "platform/controls.h"
#include "platform/trace.h"
#include "platform/windows.h"
#include "ui/bar_view.h"

namespace tellurix {
namespace {

// The list's frame around its items (its client edge), top and bottom.
constexpr int kListFrame = 4;

platform::Rect listRect(int rows)
{
    const platform::Rect field = platform::controlScreenRect(kSearchField);
    const int itemHeight = platform::listItemHeight(kSuggestionList);
    return {field.x, field.y + field.height, field.width, rows * itemHeight + kListFrame};
}

// The list is made the first time it is needed and then kept, hidden while
// it has nothing to offer.
bool makeList()
{
    using namespace platform;
    if (isWindowOpen(kSuggestionWindow))
        return true;
    const Rect outer = listRect(0);
    if (!createWindow(kSuggestionWindow, WindowKind::Dropdown, "", outer))
        return false;
    if (!createControl(kSuggestionWindow, kSuggestionList, ControlKind::ListBox, {0, 0, outer.width, 0}, "")) {
        closeWindow(kSuggestionWindow);
        return false;
    }
    return true;
}

}  // namespace

void showSuggestions(const SearchBar& bar)
{
    using namespace platform;
    if (!bar.suggestionsOpen()) {
        closeSuggestionList();
        return;
    }
    if (!makeList())
        return;
    if (!isWindowVisible(kSuggestionWindow))
        takeSearchFieldKeys(true);
    listClear(kSuggestionList);
    for (const SuggestionRow& row : bar.suggestions())
        listAppend(kSuggestionList, row.text);
    const Rect outer = listRect(static_cast<int>(bar.suggestions().size()));
    moveWindow(kSuggestionWindow, outer);
    moveControl(kSuggestionList, {0, 0, outer.width, outer.height});
    setListSelection(kSuggestionList, bar.highlighted());
    showWindowWithoutActivating(kSuggestionWindow);
    markStep("list shown");
}

void closeSuggestionList()
{
    if (!platform::isWindowVisible(kSuggestionWindow))
        return;
    platform::hideWindow(kSuggestionWindow);
    takeSearchFieldKeys(false);
}

void showHighlightedSuggestion(const SearchBar& bar)
{
    if (platform::isWindowVisible(kSuggestionWindow))
        platform::setListSelection(kSuggestionList, bar.highlighted());
}

int clickedSuggestion()
{
    return platform::isWindowVisible(kSuggestionWindow) ? platform::listSelection(kSuggestionList) : -1;
}

}  // namespace tellurix
