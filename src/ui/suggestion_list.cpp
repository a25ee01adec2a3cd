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

bool openList()
{
    using namespace platform;
    if (isWindowOpen(kSuggestionWindow))
        return true;
    const Rect field = controlScreenRect(kSearchField);
    if (!createWindow(kSuggestionWindow, WindowKind::Dropdown, "", {field.x, field.y + field.height, field.width, 0}))
        return false;
    if (!createControl(kSuggestionWindow, kSuggestionList, ControlKind::ListBox, {0, 0, field.width, 0}, "")) {
        closeWindow(kSuggestionWindow);
        return false;
    }
    takeSearchFieldKeys(true);
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
    if (!openList())
        return;
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
    if (!platform::isWindowOpen(kSuggestionWindow))
        return;
    platform::closeWindow(kSuggestionWindow);
    takeSearchFieldKeys(false);
}

int clickedSuggestion()
{
    return platform::isWindowOpen(kSuggestionWindow) ? platform::listSelection(kSuggestionList) : -1;
}

}  // namespace tellurix
