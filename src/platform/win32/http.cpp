#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/identity.h"
#include "formats/web_address.h"
#include "platform/http.h"
#include "platform/trace.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/toolkit_state.h"
#include "platform/win32/window_extensions.h"

// Each request runs on a worker thread of its own that ends with the request:
// no thread waits while nothing is asked. WinHTTP itself is loaded when the
// first request runs, so a program that never asks does not load it (and the
// executable does not import it).
//
// One deadline holds for the whole exchange (name, connection, request,
// headers, body). WinHTTP's own time-outs are per stage (a server that sends
// a byte a second never meets one), and a blocked synchronous call cannot be
// ended soundly from outside: closing its handle from another thread lets
// WinHTTP hand the same handle value to another request while the worker may
// be about to use it, and under Wine the blocked call does not even return.
// So the worker uses WinHTTP asynchronously and, for each step, waits for its
// completion, the cancel or the deadline, whichever comes first; at the
// deadline or the cancel it closes its handles itself and ends. Only the
// worker ever touches its handles. WinHTTP may still call back afterwards
// (Wine ends a stalled exchange inside WinHTTP only when the server lets go),
// so what its callbacks write to is freed when the handle's closing is
// reported, not before.
namespace tellurix::platform {
namespace {

using namespace win32;

// A small stack: the worker only waits and copies.
constexpr SIZE_T kWorkerStack = 256 * 1024;
constexpr DWORD kReadChunk = 16 * 1024;
// Redirects followed for one request at most, each within the source.
constexpr int kMaxRedirects = 3;

struct WinHttp {
    decltype(&::WinHttpOpen) open = nullptr;
    decltype(&::WinHttpCrackUrl) crackUrl = nullptr;
    decltype(&::WinHttpConnect) connect = nullptr;
    decltype(&::WinHttpOpenRequest) openRequest = nullptr;
    decltype(&::WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&::WinHttpSetOption) setOption = nullptr;
    decltype(&::WinHttpSetStatusCallback) setStatusCallback = nullptr;
    decltype(&::WinHttpSendRequest) sendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&::WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&::WinHttpQueryDataAvailable) queryDataAvailable = nullptr;
    decltype(&::WinHttpReadData) readData = nullptr;
    decltype(&::WinHttpCloseHandle) closeHandle = nullptr;
    // Asynchronous sessions that live as long as the process.
    HINTERNET direct = nullptr;   // for the computer's own addresses
    HINTERNET proxied = nullptr;  // through the system's proxy settings
};

WinHttp g_winHttp;
INIT_ONCE g_winHttpOnce = INIT_ONCE_STATIC_INIT;

template <typename Function>
[[nodiscard]] bool lookUp(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    return function != nullptr;
}

// WinHTTP from the system folder, by its full path: a winhttp.dll beside the
// program or in the current folder is never taken.
HMODULE loadSystemWinHttp()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\winhttp.dll";
    return ::LoadLibraryExW(path.c_str(), nullptr, 0);
}

BOOL CALLBACK loadWinHttp(PINIT_ONCE, PVOID, PVOID*)
{
    HMODULE module = loadSystemWinHttp();
    if (!module)
        return TRUE;
    WinHttp http;
    if (!lookUp(module, "WinHttpOpen", http.open) || !lookUp(module, "WinHttpCrackUrl", http.crackUrl) ||
        !lookUp(module, "WinHttpConnect", http.connect) || !lookUp(module, "WinHttpOpenRequest", http.openRequest) ||
        !lookUp(module, "WinHttpSetTimeouts", http.setTimeouts) ||
        !lookUp(module, "WinHttpSetOption", http.setOption) ||
        !lookUp(module, "WinHttpSetStatusCallback", http.setStatusCallback) ||
        !lookUp(module, "WinHttpSendRequest", http.sendRequest) ||
        !lookUp(module, "WinHttpReceiveResponse", http.receiveResponse) ||
        !lookUp(module, "WinHttpQueryHeaders", http.queryHeaders) ||
        !lookUp(module, "WinHttpQueryDataAvailable", http.queryDataAvailable) ||
        !lookUp(module, "WinHttpReadData", http.readData) || !lookUp(module, "WinHttpCloseHandle", http.closeHandle))
        return TRUE;
    const std::wstring agent = widen(std::string(kProgramName) + "/" + std::string(kVersion));
    http.direct = http.open(agent.c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                            WINHTTP_FLAG_ASYNC);
    // The automatic proxy (settings, script and discovery) exists from Windows
    // 8.1 on; before, the proxy configured for WinHTTP.
    http.proxied = http.open(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (!http.proxied)
        http.proxied = http.open(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (http.direct && http.proxied)
        g_winHttp = http;
    return TRUE;
}

// WinHTTP with its sessions, or null when it cannot be had.
const WinHttp* winHttp()
{
    ::InitOnceExecuteOnce(&g_winHttpOnce, loadWinHttp, nullptr, nullptr);
    return g_winHttp.closeHandle ? &g_winHttp : nullptr;
}

struct InternetDeleter {
    static void close(HINTERNET handle) noexcept { g_winHttp.closeHandle(handle); }
};
using UniqueInternet = UniqueHandle<HINTERNET, InternetDeleter>;

// --- Requests: shared by the GUI thread and the workers ---------------------

enum class Stage { Running, Done, Cancelled };

struct Entry {
    Stage stage = Stage::Running;
    HttpResult result;
    UniqueKernelHandle cancel;  // set when the request is cancelled
};

struct Requests {
    SRWLOCK lock = SRWLOCK_INIT;
    std::map<int, Entry> entries;
};

// Never destroyed: a worker may still finish while the process ends.
Requests& requests()
{
    static Requests* shared = new Requests;
    return *shared;
}

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() { ::ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK& lock_;
};

// The worker's end: the result is kept and the GUI thread told, unless the
// request was cancelled meanwhile. Its number is free again from here on.
void finish(int request, HttpResult result)
{
    Requests& all = requests();
    Locked locked(all.lock);
    const auto it = all.entries.find(request);
    if (it == all.entries.end())
        return;
    HWND main = g_mainWindowForThreads.load();
    if (it->second.stage == Stage::Cancelled || !main ||
        !::PostMessageW(main, kHttpDoneMessage, static_cast<WPARAM>(request), 0)) {
        all.entries.erase(it);
        return;
    }
    it->second.stage = Stage::Done;
    it->second.result = std::move(result);
    it->second.cancel.reset();
}

// --- One request handle and what its callbacks report ------------------------

// Written by WinHTTP's callbacks, read by the worker after `completed` is set.
// Held by the worker and, once the callback is in place, by the request
// handle until its closing is reported; the last one to let go frees it.
struct Exchange {
    UniqueKernelHandle completed{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    DWORD status = 0;  // the callback that came last
    DWORD error = 0;   // WINHTTP_CALLBACK_STATUS_REQUEST_ERROR only
    DWORD bytes = 0;   // available or read
    std::atomic<int> holders{1};
    char buffer[kReadChunk];
};

void letGo(Exchange* exchange)
{
    if (exchange->holders.fetch_sub(1) == 1)
        delete exchange;
}

void CALLBACK statusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length)
{
    auto* exchange = reinterpret_cast<Exchange*>(context);
    if (!exchange)
        return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING: letGo(exchange); return;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        exchange->error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
        break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE: exchange->bytes = *static_cast<DWORD*>(information); break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE: exchange->bytes = length; break;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE: break;
    default: return;
    }
    exchange->status = status;
    ::SetEvent(exchange->completed.get());
}

enum class Step { Done, Failed, TimedOut, Cancelled };

// One GET on its connection: the handles close, and the worker lets go of the
// exchange, when it goes out of scope.
class Transfer {
public:
    Transfer() = default;
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;
    ~Transfer()
    {
        // The request first: its closing, reported later, frees its hold.
        request_.reset();
        connection_.reset();
        if (exchange_)
            letGo(exchange_);
    }

    // Opens the connection and the request; false when WinHTTP refuses, or
    // when any of its settings cannot be made.
    [[nodiscard]] bool open(const WinHttp& http, const std::wstring& url, int timeoutMilliseconds);
    // Starts a step and waits until it completes, fails, the request is
    // cancelled or the deadline has passed.
    template <typename Start>
    [[nodiscard]] Step run(Start start, HANDLE cancel, ULONGLONG deadline);

    HINTERNET request() const { return request_.get(); }
    Exchange& exchange() const { return *exchange_; }
    DWORD lastError() const { return error_; }

private:
    UniqueInternet connection_;
    UniqueInternet request_;
    Exchange* exchange_ = nullptr;
    DWORD error_ = 0;
};

bool isLoopback(std::wstring_view host)
{
    return host == L"localhost" || host.starts_with(L"127.") || host == L"[::1]" || host == L"::1";
}

bool Transfer::open(const WinHttp& http, const std::wstring& url, int timeoutMilliseconds)
{
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!http.crackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return false;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    // Path and query lie one after the other in the address.
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    if (path.empty())
        path = L"/";

    connection_.reset(http.connect(isLoopback(host) ? http.direct : http.proxied, host.c_str(), parts.nPort, 0));
    if (!connection_)
        return false;
    request_.reset(http.openRequest(connection_.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                    WINHTTP_DEFAULT_ACCEPT_TYPES,
                                    parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    exchange_ = new Exchange;
    if (!request_ || !exchange_->completed)
        return false;
    auto context = reinterpret_cast<DWORD_PTR>(exchange_);
    if (!http.setOption(request_.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context))
        return false;
    if (http.setStatusCallback(request_.get(), statusCallback,
                               WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                               0) == WINHTTP_INVALID_STATUS_CALLBACK)
        return false;
    exchange_->holders.fetch_add(1);  // the handle's, until its closing

    // WinHTTP's own time-outs only end its work inside; the deadline is the
    // worker's.
    const int timeout = timeoutMilliseconds;
    DWORD headersTimeout = static_cast<DWORD>(timeout);  // 90 s when not set
    // Redirects are followed by the worker, and only within the source.
    DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    // Nothing is sent but the address: no cookies kept from earlier answers.
    DWORD noCookies = WINHTTP_DISABLE_COOKIES;
    return http.setTimeouts(request_.get(), timeout, timeout, timeout, timeout) &&
           http.setOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headersTimeout,
                          sizeof headersTimeout) &&
           http.setOption(request_.get(), WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof redirects) &&
           http.setOption(request_.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies);
}

template <typename Start>
Step Transfer::run(Start start, HANDLE cancel, ULONGLONG deadline)
{
    if (!start()) {
        error_ = ::GetLastError();
        return Step::Failed;
    }
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const HANDLE events[] = {exchange_->completed.get(), cancel};
    switch (::WaitForMultipleObjects(2, events, FALSE, left)) {
    case WAIT_OBJECT_0:
        if (exchange_->status != WINHTTP_CALLBACK_STATUS_REQUEST_ERROR)
            return Step::Done;
        error_ = exchange_->error;
        return Step::Failed;
    case WAIT_OBJECT_0 + 1: return Step::Cancelled;
    case WAIT_TIMEOUT: return Step::TimedOut;
    default: error_ = ::GetLastError(); return Step::Failed;
    }
}

// --- The request itself, on the worker ---------------------------------------

struct Job {
    int request = 0;
    std::string url;
    HttpLimits limits;
    ULONGLONG deadline = 0;
    HANDLE cancel = nullptr;  // the entry's; it lives until the worker finishes
};

// Wine reports WinHTTP's own time-out as the socket's WSAETIMEDOUT; either
// way the time is up.
HttpOutcome outcomeOf(Step step, DWORD error)
{
    constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT
    if (step == Step::TimedOut || error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut)
        return HttpOutcome::TimedOut;
    return HttpOutcome::Failed;
}

std::wstring headerText(const WinHttp& http, HINTERNET request, DWORD query)
{
    wchar_t buffer[2048] = {};
    DWORD size = sizeof buffer - sizeof buffer[0];
    if (!http.queryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, buffer, &size, WINHTTP_NO_HEADER_INDEX))
        return {};
    return std::wstring(buffer, size / sizeof buffer[0]);
}

[[nodiscard]] bool headerNumber(const WinHttp& http, HINTERNET request, DWORD query, DWORD& number)
{
    DWORD size = sizeof number;
    return http.queryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &number, &size,
                             WINHTTP_NO_HEADER_INDEX) != FALSE;
}

bool isRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The body of a response whose headers have come.
HttpResult readBody(const WinHttp& http, Transfer& transfer, const Job& job, HttpResult result)
{
    HINTERNET request = transfer.request();
    Exchange& exchange = transfer.exchange();
    std::string body;
    for (;;) {
        // What has come is read at once; a body that drips in never holds a
        // read past the deadline.
        Step step = transfer.run([&] { return http.queryDataAvailable(request, nullptr); }, job.cancel, job.deadline);
        if (step == Step::Done && exchange.bytes == 0)
            break;
        if (step == Step::Done) {
            const DWORD wanted = exchange.bytes < kReadChunk ? exchange.bytes : kReadChunk;
            step = transfer.run([&] { return http.readData(request, exchange.buffer, wanted, nullptr); }, job.cancel,
                                job.deadline);
        }
        if (step != Step::Done) {
            result.outcome = outcomeOf(step, transfer.lastError());
            return result;
        }
        if (body.size() + exchange.bytes > job.limits.maxBodyBytes) {
            result.outcome = HttpOutcome::TooLarge;
            return result;
        }
        body.append(exchange.buffer, exchange.bytes);
    }
    result.outcome = HttpOutcome::Answered;
    result.body = std::move(body);
    return result;
}

HttpResult fetch(const Job& job)
{
    HttpResult result;
    const WinHttp* http = winHttp();
    if (!http)
        return result;
    std::string url = job.url;
    for (int redirects = 0;; ++redirects) {
        Transfer transfer;
        if (!transfer.open(*http, widen(url), job.limits.timeoutMilliseconds))
            return result;
        HINTERNET request = transfer.request();
        const auto context = reinterpret_cast<DWORD_PTR>(&transfer.exchange());
        Step step = transfer.run(
            [&] {
                return http->sendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                                         context);
            },
            job.cancel, job.deadline);
        if (step == Step::Done)
            step = transfer.run([&] { return http->receiveResponse(request, nullptr); }, job.cancel, job.deadline);
        if (step != Step::Done) {
            result.outcome = outcomeOf(step, transfer.lastError());
            return result;
        }
        DWORD status = 0;
        if (!headerNumber(*http, request, WINHTTP_QUERY_STATUS_CODE, status))
            return result;
        result.status = static_cast<int>(status);
        result.contentType = narrow(headerText(*http, request, WINHTTP_QUERY_CONTENT_TYPE));
        if (isRedirect(status)) {
            // Followed only to the source's own scheme, host and port; any
            // other comes back as it is, and its status is no answer.
            const std::optional<std::string> next =
                redirectWithinOrigin(url, narrow(headerText(*http, request, WINHTTP_QUERY_LOCATION)));
            if (!next || redirects == kMaxRedirects) {
                result.outcome = HttpOutcome::Answered;
                return result;
            }
            url = *next;
            continue;
        }
        if (DWORD length = 0;
            headerNumber(*http, request, WINHTTP_QUERY_CONTENT_LENGTH, length) && length > job.limits.maxBodyBytes) {
            result.outcome = HttpOutcome::TooLarge;
            return result;
        }
        return readBody(*http, transfer, job, std::move(result));
    }
}

const char* outcomeName(HttpOutcome outcome)
{
    switch (outcome) {
    case HttpOutcome::Answered: return "answered";
    case HttpOutcome::TooLarge: return "too large";
    case HttpOutcome::TimedOut: return "timed out";
    case HttpOutcome::Failed: break;
    }
    return "failed";
}

DWORD WINAPI worker(LPVOID parameter)
{
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    HttpResult result = fetch(*job);
    const bool cancelled = ::WaitForSingleObject(job->cancel, 0) == WAIT_OBJECT_0;
    const std::string step = "http " + std::to_string(job->request) + " worker ends, " +
                             (cancelled ? "cancelled" : outcomeName(result.outcome));
    finish(job->request, std::move(result));
    markStep(step);
    return 0;
}

}  // namespace

bool startHttpGet(int request, std::string_view url, HttpLimits limits)
{
    if (request == 0 || !isWebUrl(url) || limits.timeoutMilliseconds <= 0)
        return false;
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(limits.timeoutMilliseconds);
    UniqueKernelHandle cancel(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!cancel)
        return false;
    auto job = std::make_unique<Job>(Job{request, std::string(url), limits, deadline, cancel.get()});
    Requests& all = requests();
    {
        Locked locked(all.lock);
        const auto [it, added] = all.entries.try_emplace(request);
        if (!added)
            return false;
        it->second.cancel = std::move(cancel);
    }
    markStep("http " + std::to_string(request) + " starts");
    HANDLE thread =
        ::CreateThread(nullptr, kWorkerStack, worker, job.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        Locked locked(all.lock);
        all.entries.erase(request);
        return false;
    }
    job.release();
    ::CloseHandle(thread);
    return true;
}

void cancelHttpGet(int request)
{
    Requests& all = requests();
    Locked locked(all.lock);
    const auto it = all.entries.find(request);
    if (it == all.entries.end())
        return;
    if (it->second.stage == Stage::Running) {
        it->second.stage = Stage::Cancelled;
        ::SetEvent(it->second.cancel.get());
    } else if (it->second.stage == Stage::Done) {
        all.entries.erase(it);
    }
}

std::optional<HttpResult> takeHttpResult(int request)
{
    Requests& all = requests();
    Locked locked(all.lock);
    const auto it = all.entries.find(request);
    if (it == all.entries.end() || it->second.stage != Stage::Done)
        return std::nullopt;
    HttpResult result = std::move(it->second.result);
    all.entries.erase(it);
    return result;
}

namespace win32 {

bool handleHttpMessage(HWND, UINT message, WPARAM wparam, LPARAM, LRESULT& answer)
{
    if (message != kHttpDoneMessage)
        return false;
    answer = 0;
    const int request = static_cast<int>(wparam);
    bool done = false;
    {
        Requests& all = requests();
        Locked locked(all.lock);
        const auto it = all.entries.find(request);
        done = it != all.entries.end() && it->second.stage == Stage::Done;
    }
    // A request cancelled after its worker had posted this gives no event.
    if (done)
        recordEvent({EventKind::HttpDone, request, EventSubtype::None});
    return true;
}

}  // namespace win32
}  // namespace tellurix::platform
