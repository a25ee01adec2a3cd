#pragma once

#include "search/suggestion_requests.h"

// The request rules carried out with the platform's HTTP client.
namespace tellurix {

// Cancels, then starts what `steps` say. A request that cannot start counts
// as a failure at once.
void carryOut(SuggestionRequests& requests, const SuggestionSteps& steps, Milliseconds now);
// Hands the result of a finished request (its HttpDone event) to the rules.
// True when the current term's web suggestions came with it.
bool takeSuggestionAnswer(SuggestionRequests& requests, int request, Milliseconds now);

}  // namespace tellurix
