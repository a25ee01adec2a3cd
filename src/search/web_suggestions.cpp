#include "search/web_suggestions.h"

#include "platform/http.h"
#include "search/suggestion_answer.h"

namespace tellurix {

void carryOut(SuggestionRequests& requests, const SuggestionSteps& steps, Milliseconds now)
{
    if (steps.cancel != 0)
        platform::cancelHttpGet(steps.cancel);
    if (!steps.start)
        return;
    const platform::HttpLimits limits{static_cast<int>(kSuggestionTimeout), kMaxSuggestionAnswerBytes};
    if (!platform::startHttpGet(steps.start->request, steps.start->url, limits))
        requests.failure(steps.start->request, now);
}

bool takeSuggestionAnswer(SuggestionRequests& requests, int request, Milliseconds now)
{
    const std::optional<platform::HttpResult> result = platform::takeHttpResult(request);
    if (!result)
        return false;
    if (result->outcome != platform::HttpOutcome::Answered) {
        requests.failure(request, now);
        return false;
    }
    return requests.answer(request, result->status, result->body, now, result->contentType);
}

}  // namespace tellurix
