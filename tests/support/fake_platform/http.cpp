#include <algorithm>
#include <map>

#include "fake_platform/fake_http.h"
#include "fake_platform/fake_state.h"
#include "platform/http.h"
#include "formats/web_address.h"

namespace tellurix::platform {
namespace {

using namespace fake::internal;

fake::HttpCall* findCall(int request)
{
    auto& calls = kit().httpCalls;
    const auto it =
        std::find_if(calls.rbegin(), calls.rend(), [&](const fake::HttpCall& call) { return call.request == request; });
    return it == calls.rend() ? nullptr : &*it;
}

bool isRunning(const fake::HttpCall* call)
{
    return call && !call->cancelled && !call->finished;
}

// A cancelled request's worker may still be on its way out.
bool holdsNumber(const fake::HttpCall* call)
{
    constexpr std::int64_t kWorkerEnds = 500;  // after the time-out at the latest
    return isRunning(call) ||
           (call && !call->finished && kit().clock < call->startedAt + call->limits.timeoutMilliseconds + kWorkerEnds);
}

}  // namespace

bool startHttpGet(int request, std::string_view url, HttpLimits limits)
{
    const fake::HttpCall* earlier = findCall(request);
    if (kit().refuseHttp || request == 0 || !isWebUrl(url) || holdsNumber(earlier) ||
        kit().httpResults.contains(request))
        return false;
    kit().httpCalls.push_back({request, std::string(url), limits, kit().clock});
    return true;
}

void cancelHttpGet(int request)
{
    if (fake::HttpCall* call = findCall(request); isRunning(call))
        call->cancelled = true;
    // As on Windows, a request cancelled after it ended gives no event.
    kit().httpResults.erase(request);
    std::erase_if(kit().events,
                  [&](const Event& event) { return event.kind == EventKind::HttpDone && event.number == request; });
}

std::optional<HttpResult> takeHttpResult(int request)
{
    const auto it = kit().httpResults.find(request);
    if (it == kit().httpResults.end())
        return std::nullopt;
    HttpResult result = std::move(it->second);
    kit().httpResults.erase(it);
    return result;
}

namespace fake {

const std::vector<HttpCall>& httpCalls()
{
    return kit().httpCalls;
}

bool finishHttp(int request, const HttpResult& result)
{
    HttpCall* call = findCall(request);
    if (call && call->cancelled)
        call->finished = true;
    if (!isRunning(call))
        return false;
    call->finished = true;
    kit().httpResults[request] = result;
    kit().events.push_back({EventKind::HttpDone, request, EventSubtype::None});
    return true;
}

void refuseHttp(bool refuse)
{
    kit().refuseHttp = refuse;
}

}  // namespace fake
}  // namespace tellurix::platform
