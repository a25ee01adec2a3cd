// When the web is asked and what becomes of its answers, on the test's own
// clock; and the same carried out with the in-memory HTTP client.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_platform/fake_http.h"
#include "fake_platform/fake_toolkit.h"
#include "platform/events.h"
#include "search/suggestion_requests.h"
#include "search/web_suggestions.h"

namespace tellurix {
namespace {

constexpr std::string_view kSource = "https://example.org/complete?q=%s&hl=de";
const std::string kAnswer = R"(["wet",["wetter","wetterau"]])";

std::vector<std::string> suggestions(const SuggestionRequests& requests, std::string_view term)
{
    const auto rows = requests.webSuggestions(term);
    return {rows.begin(), rows.end()};
}

// Types `term` at `now` and lets it rest: the request that starts.
std::optional<SuggestionRequest> askFor(SuggestionRequests& requests, std::string_view term, Milliseconds now)
{
    requests.termChanged(term, now);
    return requests.tick(now + kSuggestionPause).start;
}

TEST(SuggestionSource, TheTermIsEscapedIntoTheSource)
{
    EXPECT_EQ(suggestionUrl(kSource, "wet \xC3\xA4&"), "https://example.org/complete?q=wet%20%C3%A4%26&hl=de");
}

TEST(SuggestionRequests, AskAfter150MillisecondsWithoutTyping)
{
    RequestNumbers numbers;
    SuggestionRequests requests(kSource, numbers);
    EXPECT_EQ(requests.termChanged("w", 0).start, std::nullopt);
    EXPECT_EQ(requests.nextTick(), 150);
    requests.termChanged("we", 100);
    EXPECT_EQ(requests.tick(200).start, std::nullopt) << "typing restarts the wait";
    EXPECT_EQ(requests.nextTick(), 250);
    const std::optional<SuggestionRequest> start = requests.tick(250).start;
    ASSERT_TRUE(start);
    EXPECT_EQ(start->url, "https://example.org/complete?q=we&hl=de");
    EXPECT_EQ(requests.requestInFlight(), start->request);
    EXPECT_EQ(requests.tick(300).start, std::nullopt) << "one request per term";

    for (const char* term : {"", " \t ", "zwei\nZeilen"}) {
        SuggestionRequests quiet(kSource, numbers);
        quiet.termChanged(term, 0);
        EXPECT_EQ(quiet.tick(1000).start, std::nullopt) << term;
        EXPECT_EQ(quiet.nextTick(), std::nullopt) << term;
    }
    SuggestionRequests unusable("ftp://example.org/%s", numbers);
    unusable.termChanged("wet", 0);
    EXPECT_EQ(unusable.tick(1000).start, std::nullopt);
}

TEST(SuggestionRequests, ANewerTermCancelsAndTheOlderAnswerIsDropped)
{
    RequestNumbers numbers;
    SuggestionRequests requests(kSource, numbers);
    const int first = askFor(requests, "we", 0)->request;
    EXPECT_EQ(requests.termChanged("wet", 200).cancel, first);
    EXPECT_FALSE(requests.answer(first, 200, kAnswer, 210)) << "the answer for \"we\" is dropped";
    EXPECT_TRUE(suggestions(requests, "wet").empty());

    const int second = requests.tick(350).start->request;
    EXPECT_NE(second, first);
    EXPECT_TRUE(requests.answer(second, 200, kAnswer, 400));
    EXPECT_EQ(suggestions(requests, "wet"), (std::vector<std::string>{"wetter", "wetterau"}));
    EXPECT_TRUE(suggestions(requests, "wett").empty()) << "rows belong to their term";
    EXPECT_FALSE(requests.answer(second, 200, kAnswer, 410)) << "one answer per request";

    requests.termChanged("wett", 500);
    EXPECT_EQ(requests.termChanged("wet", 520).cancel, 0);
    EXPECT_EQ(requests.tick(1000).start, std::nullopt) << "back to an answered term: no new request";
    EXPECT_EQ(suggestions(requests, "wet").size(), 2u);

    const int third = askFor(requests, "wetter", 2000)->request;
    EXPECT_EQ(requests.termChanged("", 2200).cancel, third) << "an empty field cancels too";
}

TEST(SuggestionRequests, EveryKindOfFailureCountsAndThreeInARowRestAMinute)
{
    RequestNumbers numbers;
    using Fail = void (*)(SuggestionRequests&, int, Milliseconds);
    const Fail failures[] = {
        [](SuggestionRequests& r, int id, Milliseconds now) { EXPECT_FALSE(r.answer(id, 500, kAnswer, now)); },
        [](SuggestionRequests& r, int id, Milliseconds now) { EXPECT_FALSE(r.answer(id, 200, "<html>", now)); },
        [](SuggestionRequests& r, int id, Milliseconds now) {
            EXPECT_FALSE(r.answer(id, 200, R"(["a",[")" + std::string(70000, 'x') + "\"]]", now));
        },
        [](SuggestionRequests& r, int id, Milliseconds now) { r.failure(id, now); },
        [](SuggestionRequests& r, int id, Milliseconds now) {
            // Too slow: the rules give up on their own.
            EXPECT_EQ(r.tick(now - 1).cancel, 0);
            EXPECT_EQ(r.tick(now + kSuggestionTimeout).cancel, id);
            EXPECT_FALSE(r.answer(id, 200, kAnswer, now + kSuggestionTimeout + 1));
        },
    };
    for (std::size_t kind = 0; kind < std::size(failures); ++kind) {
        SCOPED_TRACE(kind);
        SuggestionRequests requests(kSource, numbers);
        Milliseconds now = 0;
        for (int i = 0; i < kSuggestionFailuresBeforeRest; ++i) {
            EXPECT_FALSE(requests.isResting());
            const std::optional<SuggestionRequest> start = askFor(requests, "t" + std::to_string(i), now);
            ASSERT_TRUE(start);
            failures[kind](requests, start->request, now + 200);
            now += 2000;
        }
        EXPECT_TRUE(requests.isResting());
        EXPECT_TRUE(suggestions(requests, "t2").empty());
        const Milliseconds restEnds = *requests.nextTick();
        EXPECT_EQ(askFor(requests, "neu", now), std::nullopt) << "no requests while resting";
        EXPECT_EQ(requests.tick(restEnds - 1).start, std::nullopt);
        const std::optional<SuggestionRequest> again = requests.tick(restEnds).start;
        ASSERT_TRUE(again) << "the rest is over: the waiting term is asked for";
        EXPECT_EQ(again->url, "https://example.org/complete?q=neu&hl=de");
        requests.failure(again->request, restEnds + 10);
        EXPECT_TRUE(requests.isResting()) << "a failure after the rest rests again";
    }
    // An answer ends the row: two failures on either side of it are no three.
    SuggestionRequests requests(kSource, numbers);
    Milliseconds now = 0;
    for (const int status : {503, 503, 200, 503, 503}) {
        now += 1000;
        const std::optional<SuggestionRequest> start = askFor(requests, std::to_string(now), now);
        ASSERT_TRUE(start);
        requests.answer(start->request, status, kAnswer, now + 200);
    }
    EXPECT_FALSE(requests.isResting());
}

class WebSuggestions : public ::testing::Test {
protected:
    void SetUp() override { platform::fake::reset(); }
};

TEST_F(WebSuggestions, RequestsGoThroughTheHttpClientAndComeBackAsEvents)
{
    RequestNumbers numbers;
    namespace fake = platform::fake;
    using platform::HttpOutcome;
    SuggestionRequests requests(kSource, numbers);
    requests.termChanged("we", 0);
    carryOut(requests, requests.tick(150), 150);
    carryOut(requests, requests.termChanged("wet", 200), 200);
    carryOut(requests, requests.tick(350), 350);
    ASSERT_EQ(fake::httpCalls().size(), 2u);
    EXPECT_EQ(fake::httpCalls()[0].url, "https://example.org/complete?q=we&hl=de");
    EXPECT_TRUE(fake::httpCalls()[0].cancelled);
    EXPECT_EQ(fake::httpCalls()[1].limits.timeoutMilliseconds, 1500);
    EXPECT_EQ(fake::httpCalls()[1].limits.maxBodyBytes, 64u * 1024u);

    // The cancelled request gives no event; the current one does.
    const int current = fake::httpCalls()[1].request;
    EXPECT_FALSE(fake::finishHttp(fake::httpCalls()[0].request, {}));
    EXPECT_TRUE(fake::finishHttp(current, {HttpOutcome::Answered, 200, "application/json", kAnswer}));
    const platform::Event done = platform::waitEvent();
    EXPECT_EQ(done, (platform::Event{platform::EventKind::HttpDone, current}));
    EXPECT_TRUE(takeSuggestionAnswer(requests, done.number, 400));
    EXPECT_EQ(suggestions(requests, "wet").size(), 2u);
    EXPECT_FALSE(takeSuggestionAnswer(requests, done.number, 400)) << "a result is taken once";

    // A client that cannot start, a time-out and a body too large: three
    // failures in a row.
    for (const HttpOutcome outcome : {HttpOutcome::Failed, HttpOutcome::TimedOut, HttpOutcome::TooLarge}) {
        EXPECT_FALSE(requests.isResting());
        fake::refuseHttp(outcome == HttpOutcome::Failed);
        requests.termChanged(std::to_string(static_cast<int>(outcome)), 2000);
        carryOut(requests, requests.tick(2150), 2150);
        if (outcome != HttpOutcome::Failed) {
            EXPECT_TRUE(fake::finishHttp(fake::httpCalls().back().request, {outcome, 200}));
            EXPECT_FALSE(takeSuggestionAnswer(requests, fake::httpCalls().back().request, 2300));
        }
    }
    EXPECT_TRUE(requests.isResting());
}

}  // namespace
}  // namespace tellurix
