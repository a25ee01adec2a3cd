#include <windows.h>
#include <winhttp.h>

#include <map>
#include <memory>
#include <utility>

#include "core/identity.h"
#include "formats/web_address.h"
#include "platform/http.h"
#include "platform/win32/text.h"
#include "platform/win32/toolkit_state.h"
#include "platform/win32/window_extensions.h"

// Each request runs synchronous WinHTTP calls on a thread of its own that ends
// with the request: no thread waits while nothing is asked. WinHTTP itself is
// loaded when the first request runs, so a program that never asks does not
// load it (and the executable does not import it).
namespace tellurix::platform {
namespace {

using namespace win32;

// A small stack: the worker only calls WinHTTP.
constexpr SIZE_T kWorkerStack = 256 * 1024;
constexpr DWORD kReadChunk = 16 * 1024;

struct WinHttp {
    decltype(&::WinHttpOpen) open = nullptr;
    decltype(&::WinHttpCrackUrl) crackUrl = nullptr;
    decltype(&::WinHttpConnect) connect = nullptr;
    decltype(&::WinHttpOpenRequest) openRequest = nullptr;
    decltype(&::WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&::WinHttpSetOption) setOption = nullptr;
    decltype(&::WinHttpSendRequest) sendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&::WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&::WinHttpReadData) readData = nullptr;
    decltype(&::WinHttpCloseHandle) closeHandle = nullptr;
    // Sessions live as long as the process.
    HINTERNET direct = nullptr;   // for the computer's own addresses
    HINTERNET proxied = nullptr;  // through the system's proxy settings
};

WinHttp g_winHttp;
INIT_ONCE g_winHttpOnce = INIT_ONCE_STATIC_INIT;

template <typename Function>
bool lookUp(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    return function != nullptr;
}

BOOL CALLBACK loadWinHttp(PINIT_ONCE, PVOID, PVOID*)
{
    // From the system folder only; systems without that search flag (Windows 7
    // without its update) refuse it and load by the usual search.
    HMODULE module = ::LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER)
        module = ::LoadLibraryW(L"winhttp.dll");
    if (!module)
        return TRUE;
    WinHttp http;
    if (!lookUp(module, "WinHttpOpen", http.open) || !lookUp(module, "WinHttpCrackUrl", http.crackUrl) ||
        !lookUp(module, "WinHttpConnect", http.connect) || !lookUp(module, "WinHttpOpenRequest", http.openRequest) ||
        !lookUp(module, "WinHttpSetTimeouts", http.setTimeouts) ||
        !lookUp(module, "WinHttpSetOption", http.setOption) ||
        !lookUp(module, "WinHttpSendRequest", http.sendRequest) ||
        !lookUp(module, "WinHttpReceiveResponse", http.receiveResponse) ||
        !lookUp(module, "WinHttpQueryHeaders", http.queryHeaders) ||
        !lookUp(module, "WinHttpReadData", http.readData) || !lookUp(module, "WinHttpCloseHandle", http.closeHandle))
        return TRUE;
    const std::wstring agent = widen(std::string(kProgramName) + "/" + std::string(kVersion));
    http.direct =
        http.open(agent.c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    // The automatic proxy (settings, script and discovery) exists from Windows
    // 8.1 on; before, the proxy configured for WinHTTP.
    http.proxied = http.open(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, 0);
    if (!http.proxied)
        http.proxied = http.open(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0);
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

bool isCancelled(int request)
{
    Requests& all = requests();
    Locked locked(all.lock);
    const auto it = all.entries.find(request);
    return it == all.entries.end() || it->second.stage == Stage::Cancelled;
}

// The worker's end: the result is kept and the GUI thread told, unless the
// request was cancelled meanwhile.
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
}

// --- The request itself, on the worker ---------------------------------------

struct Job {
    int request = 0;
    std::wstring url;
    HttpLimits limits;
};

bool isLoopback(std::wstring_view host)
{
    return host == L"localhost" || host.starts_with(L"127.") || host == L"[::1]" || host == L"::1";
}

// Wine reports a time-out as the socket's WSAETIMEDOUT rather than WinHTTP's
// own error; either way the time is up.
HttpOutcome failureOutcome(ULONGLONG deadline)
{
    constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT
    const DWORD error = ::GetLastError();
    const bool timedOut = error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut || ::GetTickCount64() >= deadline;
    return timedOut ? HttpOutcome::TimedOut : HttpOutcome::Failed;
}

std::wstring headerText(const WinHttp& http, HINTERNET request, DWORD query)
{
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - sizeof buffer[0];
    if (!http.queryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, buffer, &size, WINHTTP_NO_HEADER_INDEX))
        return {};
    return std::wstring(buffer, size / sizeof buffer[0]);
}

bool headerNumber(const WinHttp& http, HINTERNET request, DWORD query, DWORD& number)
{
    DWORD size = sizeof number;
    return http.queryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &number, &size,
                             WINHTTP_NO_HEADER_INDEX) != FALSE;
}

HttpResult fetch(const Job& job)
{
    HttpResult result;
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(job.limits.timeoutMilliseconds);
    const WinHttp* http = winHttp();
    if (!http)
        return result;

    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!http->crackUrl(job.url.c_str(), static_cast<DWORD>(job.url.size()), 0, &parts))
        return result;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    // Path and query lie one after the other in the address.
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    if (path.empty())
        path = L"/";

    const UniqueInternet connection(
        http->connect(isLoopback(host) ? http->direct : http->proxied, host.c_str(), parts.nPort, 0));
    if (!connection)
        return result;
    const UniqueInternet request(http->openRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                   WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                   parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!request)
        return result;
    // Each step has the whole time; the reading below keeps to the deadline.
    const int timeout = job.limits.timeoutMilliseconds;
    http->setTimeouts(request.get(), timeout, timeout, timeout, timeout);
    // The wait for the response's headers has a time-out of its own (90 s).
    DWORD headersTimeout = static_cast<DWORD>(timeout);
    http->setOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headersTimeout, sizeof headersTimeout);
    // Nothing is sent but the address: no cookies kept from earlier answers.
    DWORD noCookies = WINHTTP_DISABLE_COOKIES;
    http->setOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies);

    if (!http->sendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !http->receiveResponse(request.get(), nullptr)) {
        result.outcome = failureOutcome(deadline);
        return result;
    }
    DWORD status = 0;
    if (!headerNumber(*http, request.get(), WINHTTP_QUERY_STATUS_CODE, status))
        return result;
    result.status = static_cast<int>(status);
    result.contentType = win32::narrow(headerText(*http, request.get(), WINHTTP_QUERY_CONTENT_TYPE));
    if (DWORD length = 0;
        headerNumber(*http, request.get(), WINHTTP_QUERY_CONTENT_LENGTH, length) && length > job.limits.maxBodyBytes) {
        result.outcome = HttpOutcome::TooLarge;
        return result;
    }

    std::string body;
    for (;;) {
        char chunk[kReadChunk];
        DWORD got = 0;
        if (!http->readData(request.get(), chunk, sizeof chunk, &got)) {
            result.outcome = failureOutcome(deadline);
            return result;
        }
        if (got == 0)
            break;
        if (body.size() + got > job.limits.maxBodyBytes) {
            result.outcome = HttpOutcome::TooLarge;
            return result;
        }
        body.append(chunk, got);
        if (::GetTickCount64() > deadline) {
            result.outcome = HttpOutcome::TimedOut;
            return result;
        }
        if (isCancelled(job.request))
            return result;
    }
    result.outcome = HttpOutcome::Answered;
    result.body = std::move(body);
    return result;
}

DWORD WINAPI worker(LPVOID parameter)
{
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    finish(job->request, fetch(*job));
    return 0;
}

}  // namespace

bool startHttpGet(int request, std::string_view url, HttpLimits limits)
{
    if (request == 0 || !isWebUrl(url) || limits.timeoutMilliseconds <= 0)
        return false;
    Requests& all = requests();
    {
        Locked locked(all.lock);
        if (!all.entries.try_emplace(request).second)
            return false;
    }
    auto job = std::make_unique<Job>(Job{request, widen(url), limits});
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
    if (it->second.stage == Stage::Running)
        it->second.stage = Stage::Cancelled;
    else if (it->second.stage == Stage::Done)
        all.entries.erase(it);
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
