#include "search/search_launch.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "platform/shell.h"
#include "platform/window_toolkit.h"
#include "search/catalogue.h"
#include "search/search_url.h"

namespace tellurix {

void onSearchFieldFocus()
{
    if (platform::controlText(kSearchField) == kPlaceholder)
        platform::setControlText(kSearchField, "");
}

void onSearchFieldBlur()
{
    if (platform::controlText(kSearchField).empty())
        platform::setControlText(kSearchField, kPlaceholder);
}

void startSearch()
{
    if (platform::focusedControl() != kSearchField)
        return;
    const std::string term = platform::controlTextUtf8(kSearchField);
    if (term.empty())
        return;
    // A label that names no catalogue site (hand-edited settings) finds nothing:
    // then the bar and the term stay as they are rather than launching a guess.
    const auto position = findSearchSite(platform::controlText(kSiteLabel));
    if (!position)
        return;
    const std::string url = composeSearchUrl(searchSite(*position), term);
    if (!isLaunchableUrl(url))
        return;
    hideMainWindow();
    platform::launchUrl(url);
    platform::setControlText(kSearchField, kPlaceholder);
}

}  // namespace tellurix
