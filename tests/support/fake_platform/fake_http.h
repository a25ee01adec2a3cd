#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/http.h"

// The in-memory HTTP client: requests are only recorded, and the test decides
// when and how each one ends.
namespace tellurix::platform::fake {

struct HttpCall {
    int request = 0;
    std::string url;
    HttpLimits limits;
    std::int64_t startedAt = 0;  // on the in-memory clock
    bool cancelled = false;
    bool finished = false;
};

// Every request started since the last reset, in order.
const std::vector<HttpCall>& httpCalls();
// Ends a running request: the result waits for takeHttpResult and an HttpDone
// event is queued. False when the request is not running; a cancelled one
// only ends then (its number is free again), without an event. Until it ends,
// a cancelled request keeps its number as a worker on Windows does: up to half
// a second past its time-out on the in-memory clock.
bool finishHttp(int request, const HttpResult& result);
// From now on startHttpGet fails (no thread, no WinHTTP).
void refuseHttp(bool refuse);

}  // namespace tellurix::platform::fake
