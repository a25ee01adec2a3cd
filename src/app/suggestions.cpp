#include "app/suggestions.h"

#include <algorithm>

#include "core/numbers.h"
#include "platform/clock.h"
#include "platform/http.h"
#include "platform/trace.h"
#include "search/web_suggestions.h"
#include "ui/suggestion_list.h"
#include "ui/tray.h"

namespace tellurix {
namespace {

// The timer comes when the rules have something to do next, if ever.
void armTimer(const WebSuggestions& web, Milliseconds now)
{
    const std::optional<Milliseconds> next = web.requests ? web.requests->nextTick() : std::nullopt;
    if (!next) {
        platform::stopTimer(kSuggestionTimer);
        return;
    }
    platform::startTimer(kSuggestionTimer, static_cast<int>(std::max<Milliseconds>(0, *next - now)));
}

void askAbout(WebSuggestions& web, std::string_view term)
{
    if (!web.requests)
        return;
    const Milliseconds now = platform::steadyMilliseconds();
    carryOut(*web.requests, web.requests->termChanged(term, now), now);
    armTimer(web, now);
}

}  // namespace

void useSuggestionSetting(WebSuggestions& web, const SuggestionSetting& setting)
{
    tellOnce(web.told, kSuggestionsNoticeTitle, suggestionNotice(setting));
    const std::string source = setting.active ? setting.source : std::string();
    if (source == web.source)
        return;
    // Switched off, on, or to another source: what was asked before is void.
    askAbout(web, "");
    web.source = source;
    if (source.empty())
        web.requests.reset();
    else
        web.requests.emplace(source, web.numbers);
    armTimer(web, platform::steadyMilliseconds());
}

void onTypedTextChanged(WebSuggestions& web, const SearchBar& bar)
{
    showSuggestions(bar);
    askAbout(web, bar.suggestionTerm());
}

void stopSuggesting(WebSuggestions& web, SearchBar& bar)
{
    bar.closeSuggestions();
    closeSuggestionList();
    askAbout(web, "");
}

void onSuggestionTimer(WebSuggestions& web)
{
    if (!web.requests)
        return;
    const Milliseconds now = platform::steadyMilliseconds();
    carryOut(*web.requests, web.requests->tick(now), now);
    armTimer(web, now);
}

void onSuggestionAnswer(WebSuggestions& web, SearchBar& bar, int request)
{
    if (!web.requests) {
        // Switched off meanwhile: the result is only freed.
        platform::takeHttpResult(request);
        return;
    }
    platform::markStep("answer");
    const Milliseconds now = platform::steadyMilliseconds();
    const bool arrived = takeSuggestionAnswer(*web.requests, request, now);
    armTimer(web, now);
    if (!arrived)
        return;
    const std::string term = bar.suggestionTerm();
    bar.setWebSuggestions(term, web.requests->webSuggestions(term));
    showSuggestions(bar);
}

}  // namespace tellurix
