#include "search/site_choice.h"

#include <utility>

#include "core/numbers.h"
#include "platform/controls.h"
#include "platform/windows.h"
#include "search/search_launch.h"

namespace tellurix {
namespace {

struct SiteChoice {
    Keywords keywords;
    // The current site while the label shows a keyword's site.
    std::optional<std::string> hiddenSite;
};

SiteChoice& choice()
{
    static SiteChoice state;
    return state;
}

std::string fieldText()
{
    std::string text = platform::controlText(kSearchField);
    return text == kPlaceholder ? std::string() : text;
}

}  // namespace

void setKeywords(Keywords keywords)
{
    choice().keywords = std::move(keywords);
}

std::string currentSiteLabel()
{
    const SiteChoice& state = choice();
    return state.hiddenSite ? *state.hiddenSite : platform::controlText(kSiteLabel);
}

void chooseSite(std::string_view label)
{
    choice().hiddenSite.reset();
    platform::setControlText(kSiteLabel, label);
    showSiteForField();
}

std::optional<KeywordMatch> activeKeyword()
{
    return matchKeyword(fieldText(), choice().keywords);
}

void showSiteForField()
{
    SiteChoice& state = choice();
    const std::optional<KeywordMatch> match = activeKeyword();
    const std::string shown = platform::controlText(kSiteLabel);
    if (match) {
        if (!state.hiddenSite)
            state.hiddenSite = shown;
        if (shown != match->label)
            platform::setControlText(kSiteLabel, match->label);
    } else if (state.hiddenSite) {
        platform::setControlText(kSiteLabel, *state.hiddenSite);
        state.hiddenSite.reset();
    } else {
        return;
    }
    // The label is drawn straight onto the background: paint the old text over.
    platform::invalidateWindow(kMainWindow);
}

}  // namespace tellurix
