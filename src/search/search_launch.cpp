#include "search/search_launch.h"

#include "core/numbers.h"
#include "platform/shell.h"
#include "platform/trace.h"
#include "platform/url.h"
#include "platform/controls.h"
#include "search/catalogue.h"
#include "search/search_url.h"
#include "search/site_choice.h"

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

std::optional<std::string> searchUrlFromBar()
{
    if (platform::focusedControl() != kSearchField)
        return std::nullopt;
    std::string term = platform::controlText(kSearchField);
    std::string label = currentSiteLabel();
    // "!w Berlin": the rest of the text, on the keyword's site.
    if (std::optional<KeywordMatch> keyword = activeKeyword()) {
        term = std::move(keyword->term);
        label = std::move(keyword->label);
    }
    if (term.empty())
        return std::nullopt;
    // A label that names no catalogue site (hand-edited settings) finds nothing
    // rather than launching a guess.
    const auto position = findSearchSite(label);
    if (!position)
        return std::nullopt;
    std::string url = composeSearchUrl(searchSite(*position), term);
    if (!platform::isWebUrl(url))
        return std::nullopt;
    return url;
}

void launchSearch(const std::string& url)
{
    platform::launchUrl(url);
    platform::markStep("search handed over");
    platform::setControlText(kSearchField, kPlaceholder);
    showSiteForField();
}

}  // namespace tellurix
