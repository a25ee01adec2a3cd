// The Windows HTTP client (WinHTTP on worker threads, results as HttpDone
// events of the main window) against tests/e2e/suggest_server.py, which
// http_test.sh starts: its port is in TELLURIX_SUGGEST_PORT, a port nobody
// listens on in TELLURIX_CLOSED_PORT. Built for Windows and run under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/events.h"
#include "platform/http.h"
#include "platform/process.h"
#include "platform/windows.h"
#include "search/suggestion_answer.h"

namespace tellurix {
namespace {

using platform::HttpOutcome;
using platform::HttpResult;

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string server(const std::string& pathAndQuery)
{
    return "http://127.0.0.1:" + environment("TELLURIX_SUGGEST_PORT") + pathAndQuery;
}

class HttpClient : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_FALSE(environment("TELLURIX_SUGGEST_PORT").empty()) << "run through http_test.sh";
        // The worker threads report to the main window.
        ASSERT_TRUE(platform::createWindow(0, platform::WindowKind::MainBar, "HTTP", {0, 0, 200, 100}));
        // A timer wakes the event loop now and then, so that waiting ends
        // even when an event never comes.
        ::SetTimer(nullptr, 0, 100, nullptr);
    }
    static void TearDownTestSuite() { platform::releaseAll(); }

    // The HttpDone events that come while `requests` end, and their results.
    // Gives up after 20 s: a missing result then fails the test.
    static std::map<int, HttpResult> resultsOf(std::set<int> requests, std::set<int>* events = nullptr)
    {
        std::map<int, HttpResult> results;
        const ULONGLONG giveUp = ::GetTickCount64() + 20000;
        while (!requests.empty() && ::GetTickCount64() < giveUp) {
            const platform::Event event = platform::waitEvent();
            if (event.kind != platform::EventKind::HttpDone)
                continue;
            if (events)
                events->insert(event.number);
            if (std::optional<HttpResult> result = platform::takeHttpResult(event.number)) {
                results[event.number] = std::move(*result);
                requests.erase(event.number);
            }
        }
        return results;
    }
};

TEST_F(HttpClient, AnswersFailuresTimeOutAndLimitsEachComeBackAsAnEvent)
{
    const platform::HttpLimits limits;  // 1.5 s, 64 KB
    const struct {
        int request;
        std::string url;
        HttpOutcome outcome;
        int status;
    } cases[] = {
        {1, server("/rows?q=wet"), HttpOutcome::Answered, 200},
        {2, server("/garbage?q=wet"), HttpOutcome::Answered, 200},
        {3, server("/slow/5?q=wet"), HttpOutcome::TimedOut, 0},
        {4, server("/big?q=wet"), HttpOutcome::TooLarge, 200},
        {5, server("/big/stream?q=wet"), HttpOutcome::TooLarge, 200},
        {6, server("/status/404?q=wet"), HttpOutcome::Answered, 404},
        {7, "http://127.0.0.1:" + environment("TELLURIX_CLOSED_PORT") + "/?q=wet", HttpOutcome::Failed, 0},
        // Redirects are followed within the source's scheme, host and port
        // only; any other comes back as it is (http_test.sh checks that
        // nothing reached the other addresses).
        {10, server("/redirect/same?q=wet"), HttpOutcome::Answered, 200},
        {11, server("/redirect/absolute?q=wet"), HttpOutcome::Answered, 200},
        {12, server("/redirect/host?q=wet"), HttpOutcome::Answered, 302},
        {13, server("/redirect/port?q=wet"), HttpOutcome::Answered, 302},
        {14, server("/redirect/loop?q=wet"), HttpOutcome::Answered, 302},
        // A body that drips in, a byte a second: the deadline is for the whole.
        {15, server("/drip?q=wet"), HttpOutcome::TimedOut, 200},
    };
    std::set<int> requests;
    for (const auto& c : cases) {
        ASSERT_TRUE(platform::startHttpGet(c.request, c.url, limits)) << c.url;
        requests.insert(c.request);
    }
    // Cancelled at once: no event and no result, however it ends.
    ASSERT_TRUE(platform::startHttpGet(8, server("/slow/1?q=wet"), limits));
    platform::cancelHttpGet(8);
    EXPECT_FALSE(platform::startHttpGet(1, server("/rows?q=wet"), limits)) << "number in use";
    EXPECT_FALSE(platform::startHttpGet(9, "ftp://127.0.0.1/x", limits));
    EXPECT_FALSE(platform::startHttpGet(9, "file:///C:/windows/win.ini", limits));

    std::set<int> events;
    std::map<int, HttpResult> results = resultsOf(requests, &events);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        ASSERT_TRUE(results.contains(c.request));
        EXPECT_EQ(results[c.request].outcome, c.outcome);
        EXPECT_EQ(results[c.request].status, c.status);
    }
    EXPECT_EQ(results[1].body, "[\"wet\", [\"wetter\", \"wetter m\xC3\xBCnchen\"]]");
    EXPECT_EQ(results[10].body, results[1].body);
    EXPECT_EQ(results[11].body, results[1].body);
    EXPECT_TRUE(results[12].body.empty());
    EXPECT_EQ(results[1].contentType, "application/x-suggestions+json; charset=utf-8");
    EXPECT_EQ(parseSuggestionAnswer(results[1].body, results[1].contentType),
              (std::vector<std::string>{"wetter", "wetter m\xC3\xBCnchen"}));
    EXPECT_EQ(parseSuggestionAnswer(results[2].body, results[2].contentType), std::nullopt);
    EXPECT_TRUE(results[4].body.empty());
    EXPECT_FALSE(events.contains(8));
    EXPECT_EQ(platform::takeHttpResult(8), std::nullopt);
    EXPECT_EQ(platform::takeHttpResult(1), std::nullopt) << "a result is taken once";
}

}  // namespace
}  // namespace tellurix
