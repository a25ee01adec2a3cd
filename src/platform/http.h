#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// HTTP GET requests, each on a worker thread of its own: the caller never
// waits. When a request ends, the GUI thread's event queue gets an event of
// kind EventKind::HttpDone whose number is the request's
// (platform/events.h); the result is then taken with takeHttpResult.
namespace tellurix::platform {

struct HttpLimits {
    int timeoutMilliseconds = 1500;  // for the whole request
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
// number for it (not 0, not in use). False when it cannot start (not a web
// address, number in use, no thread): then no event comes for it.
[[nodiscard]] bool startHttpGet(int request, std::string_view url, HttpLimits limits);
// Forgets a request: no event comes for it any more and its result is
// dropped. Its worker may run on until its own time-out, but touches nothing.
void cancelHttpGet(int request);
// The result of a request whose HttpDone event has come, once; nothing for a
// request that is unknown, cancelled, still running or taken already.
std::optional<HttpResult> takeHttpResult(int request);

}  // namespace tellurix::platform
