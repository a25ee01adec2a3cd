#include <windows.h>

#include "platform/threads.h"
#include "platform/win32/toolkit_state.h"

namespace tellurix::platform {
namespace {

using namespace win32;

struct ThreadStart {
    ThreadEntry entry = nullptr;
    void* context = nullptr;
};

ThreadStart g_threadStart;
UniqueKernelHandle g_thread;
UniqueKernelHandle g_instanceMutex;

DWORD WINAPI threadTrampoline(LPVOID)
{
    g_threadStart.entry(g_threadStart.context);
    return 0;
}

constexpr wchar_t kInstanceMutexName[] = L"Local\\Brenmoor.Tellurix.Instance";

}  // namespace

bool startThread(ThreadEntry entry, void* context)
{
    g_threadStart = {entry, context};
    g_thread = UniqueKernelHandle(::CreateThread(nullptr, 0, threadTrampoline, nullptr, 0, nullptr));
    return static_cast<bool>(g_thread);
}

void releaseThread()
{
    g_thread.reset();
}

void sleepMilliseconds(int milliseconds)
{
    ::Sleep(static_cast<DWORD>(milliseconds));
}

void requestBringUp()
{
    // Only the GUI thread touches windows: the request travels as a message.
    if (g_shuttingDown.load())
        return;
    if (HWND main = g_mainWindowForThreads.load())
        ::PostMessageW(main, kBringUpMessage, 0, 0);
}

void beginShutdown()
{
    g_shuttingDown.store(true);
    g_mainWindowForThreads.store(nullptr);
}

bool isShuttingDown()
{
    return g_shuttingDown.load();
}

bool claimSingleInstance()
{
    // Our own handle of before would keep the other copy's mutex alive.
    g_instanceMutex.reset();
    g_instanceMutex = UniqueKernelHandle(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    return !g_instanceMutex || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool bringUpRunningInstance()
{
    // The first copy may still be starting: give it a moment to create its window.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (HWND other = ::FindWindowW(kMainWindowClass, nullptr)) {
            DWORD process = 0;
            ::GetWindowThreadProcessId(other, &process);
            ::AllowSetForegroundWindow(process);
            return ::PostMessageW(other, kBringUpMessage, 0, 0) != FALSE;
        }
        ::Sleep(100);
    }
    return false;
}

}  // namespace tellurix::platform
