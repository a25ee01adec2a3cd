#include "search/suggestion_requests.h"

#include <utility>

#include "search/search_url.h"
#include "search/suggestion_answer.h"
#include "search/suggestion_rows.h"

namespace tellurix {

std::string suggestionUrl(std::string_view source, std::string_view term)
{
    return composeSearchUrl(siteOfUrlTemplate("", source), term);
}

SuggestionRequests::SuggestionRequests(std::string_view source, RequestNumbers& numbers) : numbers_(&numbers)
{
    if (!urlTemplateProblem(source))
        source_ = source;
}

bool SuggestionRequests::isAskable(std::string_view term) const
{
    // A term of blanks only has nothing to suggest.
    return !source_.empty() && isSuggestionLine(term) && term.find_first_not_of(" \t") != std::string_view::npos;
}

SuggestionSteps SuggestionRequests::termChanged(std::string_view term, Milliseconds now)
{
    SuggestionSteps steps;
    if (term == term_)
        return steps;
    term_ = term;
    changedAt_ = now;
    // The answer to an older term would only be dropped.
    steps.cancel = std::exchange(inFlight_, 0);
    due_ = isAskable(term_) && answeredTerm_ != term_;
    return steps;
}

SuggestionSteps SuggestionRequests::tick(Milliseconds now)
{
    SuggestionSteps steps;
    if (inFlight_ != 0 && now - startedAt_ >= kSuggestionTimeout) {
        steps.cancel = std::exchange(inFlight_, 0);
        countFailure(now);
    }
    if (restUntil_ && now >= *restUntil_)
        restUntil_.reset();
    if (due_ && inFlight_ == 0 && !restUntil_ && now - changedAt_ >= kSuggestionPause) {
        due_ = false;
        inFlight_ = numbers_->next();
        startedAt_ = now;
        steps.start = SuggestionRequest{inFlight_, suggestionUrl(source_, term_)};
    }
    return steps;
}

std::optional<Milliseconds> SuggestionRequests::nextTick() const
{
    if (inFlight_ != 0)
        return startedAt_ + kSuggestionTimeout;
    if (restUntil_)
        return *restUntil_;
    if (due_)
        return changedAt_ + kSuggestionPause;
    return std::nullopt;
}

bool SuggestionRequests::answer(int request, int status, std::string_view body, Milliseconds now,
                                std::string_view contentType)
{
    if (request == 0 || request != inFlight_)
        return false;
    inFlight_ = 0;
    std::optional<std::vector<std::string>> suggestions;
    if (status == 200)
        suggestions = parseSuggestionAnswer(body, contentType);
    if (!suggestions) {
        countFailure(now);
        return false;
    }
    failures_ = 0;
    answeredTerm_ = term_;
    answered_ = std::move(*suggestions);
    return true;
}

void SuggestionRequests::failure(int request, Milliseconds now)
{
    if (request == 0 || request != inFlight_)
        return;
    inFlight_ = 0;
    countFailure(now);
}

std::span<const std::string> SuggestionRequests::webSuggestions(std::string_view term) const
{
    if (answeredTerm_ != term)
        return {};
    return answered_;
}

void SuggestionRequests::countFailure(Milliseconds now)
{
    // After a rest the next failure starts another one at once: a source that
    // is down is asked once a minute, not three times.
    if (++failures_ >= kSuggestionFailuresBeforeRest)
        restUntil_ = now + kSuggestionRest;
}

}  // namespace tellurix
