#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// HTTP GET requests, each on a worker thread of its own: the caller never
// waits. When a request ends, the GUI thread's event queue gets an event of
// kind EventKind::HttpDone whose number is the request's
// (platform/events.h); the result is then taken with takeHttpResult.
// A redirect is followed only when it keeps the address's scheme, host and
// port, three times at most; any other comes back as it is (Answered, with
// its 3xx status and no body). The trace marks each request's start and the
// end of its worker ("http N starts", "http N worker ends, OUTCOME").
namespace tellurix::platform {

struct HttpLimits {
    int timeoutMilliseconds = 1500;  // for the whole exchange, redirects included
    std::size_t maxBodyBytes = 64 * 1024;
};

enum class HttpOutcome {
    Answered,  // status and body
    TooLarge,  // the body is larger than the limit (status only)
    TimedOut,
    Failed,  // no network, no such host, refused, broken connection, ...
};

struct HttpResult {
    HttpOutcome outcome = HttpOutcome::Failed;
    int status = 0;
    std::string contentType;  // the Content-Type header as sent
    std::string body;         // Answered only

    friend bool operator==(const HttpResult&, const HttpResult&) = default;
};

// Starts a GET of an http:// or https:// address. `request` is the caller's
// number for it (not 0, not in use: a number stays in use until the result is
// taken, or until the worker of a cancelled request has ended). False when it
// cannot start (not a web address, number in use, no thread): then no event
// comes for it.
[[nodiscard]] bool startHttpGet(int request, std::string_view url, HttpLimits limits);
// Forgets a request: no event comes for it any more and its result is
// dropped. Its worker closes its connection and ends at once.
void cancelHttpGet(int request);
// The result of a request whose HttpDone event has come, once; nothing for a
// request that is unknown, cancelled, still running or taken already.
std::optional<HttpResult> takeHttpResult(int request);

}  // namespace tellurix::platform
