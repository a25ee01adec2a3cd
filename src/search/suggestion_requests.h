#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// When the web is asked for suggestions, and what becomes of its answers. The
// rules take events with the time (milliseconds on any steady clock) and say
// what to do; the caller carries that out with the HTTP client and calls
// tick() again when nextTick() says so.
namespace tellurix {

using Milliseconds = std::int64_t;

inline constexpr Milliseconds kSuggestionPause = 150;       // without typing before a term is asked for
inline constexpr Milliseconds kSuggestionTimeout = 1500;    // for one answer
inline constexpr Milliseconds kSuggestionRest = 60 * 1000;  // after failures in a row
inline constexpr int kSuggestionFailuresBeforeRest = 3;

// The source's address with the term percent-encoded in place of its "%s".
std::string suggestionUrl(std::string_view source, std::string_view term);

struct SuggestionRequest {
    int request = 0;  // the number its answer comes back with
    std::string url;
};

// The numbers of the requests: 1, 2, 3, ... and never one twice. A cancelled
// request keeps its number until its worker has ended, so the rules of a new
// source must not start again at 1; the program keeps one of these for all
// the sources it ever asks.
class RequestNumbers {
public:
    int next() { return ++last_; }

private:
    int last_ = 0;
};

// What the caller does now, in this order: cancel a request (0: none), then
// start one.
struct SuggestionSteps {
    int cancel = 0;
    std::optional<SuggestionRequest> start;
};

class SuggestionRequests {
public:
    // A source that urlTemplateProblem (search/search_url.h) refuses is never
    // asked. The requests take their numbers from `numbers`, which must
    // outlive them.
    SuggestionRequests(std::string_view source, RequestNumbers& numbers);

    // The field's term changed (after a keyword: only the part after it; the
    // keyword is never sent). A request in flight for the older term is
    // cancelled; the new term is asked for once it has rested for 150 ms.
    SuggestionSteps termChanged(std::string_view term, Milliseconds now);
    // Starts a request that is due, gives up one that took too long (a
    // failure) and ends a rest that is over.
    SuggestionSteps tick(Milliseconds now);
    // The time at which tick() has something to do, if any.
    std::optional<Milliseconds> nextTick() const;

    // The HTTP answer to `request`. True when it brought new web suggestions
    // for the current term (read them with webSuggestions). An answer to a
    // request no longer in flight is dropped; one with a status other than
    // 200, a body over 64 KB or a body not in the format is a failure.
    bool answer(int request, int status, std::string_view body, Milliseconds now, std::string_view contentType = {});
    // The request ended without an answer: no network, refused, timed out.
    void failure(int request, Milliseconds now);

    // The web suggestions of the last answer when it was for exactly `term`;
    // none otherwise.
    std::span<const std::string> webSuggestions(std::string_view term) const;

    int requestInFlight() const { return inFlight_; }
    bool isResting() const { return restUntil_.has_value(); }

private:
    bool isAskable(std::string_view term) const;
    void countFailure(Milliseconds now);

    std::string source_;  // empty when unusable
    RequestNumbers* numbers_;
    std::string term_;
    Milliseconds changedAt_ = 0;
    bool due_ = false;  // the term still has to be asked for
    int inFlight_ = 0;
    Milliseconds startedAt_ = 0;
    int failures_ = 0;  // in a row
    std::optional<Milliseconds> restUntil_;
    std::optional<std::string> answeredTerm_;
    std::vector<std::string> answered_;
};

}  // namespace tellurix
