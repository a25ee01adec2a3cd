#include "search/search_history.h"

#include <utility>

#include "core/numbers.h"
#include "platform/controls.h"

namespace tellurix {
namespace {

struct SearchHistory {
    History history;
    HistoryWalk walk;
};

SearchHistory& state()
{
    static SearchHistory instance;
    return instance;
}

void show(const std::string& text)
{
    platform::setControlText(kSearchField, text);
    platform::setCaretToEnd(kSearchField);
}

}  // namespace

void setHistory(History history)
{
    state() = SearchHistory{std::move(history), {}};
}

const History& history()
{
    return state().history;
}

bool rememberSearch(std::string_view typed)
{
    state().walk = {};
    return remember(state().history, typed);
}

void recallOlder()
{
    SearchHistory& s = state();
    if (const auto entry = walkOlder(s.walk, s.history, platform::controlText(kSearchField)))
        show(*entry);
}

void recallNewer()
{
    SearchHistory& s = state();
    if (const auto entry = walkNewer(s.walk, s.history))
        show(*entry);
}

bool forgetRecalled()
{
    SearchHistory& s = state();
    if (s.walk.position < 0 || !forget(s.history, s.walk.shown))
        return false;
    // Back to what the user had typed; Up starts again from the newest.
    const std::string typed = std::move(s.walk.typed);
    s.walk = {};
    show(typed);
    return true;
}

void clearHistory()
{
    state().history.entries.clear();
    state().walk = {};
}

void onSearchFieldEdited()
{
    SearchHistory& s = state();
    if (s.walk.position >= 0 && platform::controlText(kSearchField) != s.walk.shown)
        s.walk = {};
}

}  // namespace tellurix
