#include <windows.h>

#include <string>

#include "platform/keyboard.h"
#include "platform/trace.h"
#include "platform/win32/handles.h"

namespace tellurix::platform {
namespace {

// Marks the strokes this program sends itself, so the filter never sees them.
constexpr ULONG_PTR kOwnStroke = 0x54454C4CUL;  // "TELL"
constexpr WORD kNeutralKey = 0xE8;
constexpr DWORD kStartTimeoutMs = 5000;

struct Hook {
    KeyFilter filter = nullptr;
    void* context = nullptr;
    bool installed = false;
    UniqueKernelHandle ready;
    // The longest a stroke kept the thread busy so far, for the trace.
    LONGLONG longestTicks = 0;
    LONGLONG ticksPerSecond = 1;
};

Hook g_hook;

void traceBusyTime(LONGLONG ticks)
{
    if (ticks <= g_hook.longestTicks)
        return;
    g_hook.longestTicks = ticks;
    markStep("hook busy " + std::to_string(ticks * 1000000 / g_hook.ticksPerSecond) + " us");
}

LRESULT CALLBACK lowLevelKeyboard(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HC_ACTION) {
        LARGE_INTEGER start{};
        ::QueryPerformanceCounter(&start);
        const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        KeyVerdict verdict = KeyVerdict::Pass;
        if (info.dwExtraInfo != kOwnStroke) {
            const KeyStroke stroke{static_cast<int>(info.vkCode), wparam == WM_KEYDOWN || wparam == WM_SYSKEYDOWN,
                                   static_cast<unsigned int>(info.time)};
            verdict = g_hook.filter(g_hook.context, stroke);
        }
        LARGE_INTEGER end{};
        ::QueryPerformanceCounter(&end);
        traceBusyTime(end.QuadPart - start.QuadPart);
        if (verdict == KeyVerdict::Keep)
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

// The hook's thread does nothing but answer the hook: the system calls the
// hook procedure while this thread waits for messages.
DWORD WINAPI hookThread(LPVOID)
{
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    HHOOK hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, lowLevelKeyboard, ::GetModuleHandleW(nullptr), 0);
    g_hook.installed = hook != nullptr;
    ::SetEvent(g_hook.ready.get());
    if (!hook)
        return 0;
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    }
    ::UnhookWindowsHookEx(hook);
    return 0;
}

}  // namespace

bool startKeyboardHook(KeyFilter filter, void* context)
{
    g_hook.filter = filter;
    g_hook.context = context;
    LARGE_INTEGER frequency{};
    if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        g_hook.ticksPerSecond = frequency.QuadPart;
    g_hook.ready = UniqueKernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!g_hook.ready)
        return false;
    // The thread lives as long as the process; its handle is not needed.
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, hookThread, nullptr, 0, nullptr));
    if (!thread)
        return false;
    if (::WaitForSingleObject(g_hook.ready.get(), kStartTimeoutMs) != WAIT_OBJECT_0)
        return false;
    return g_hook.installed;
}

bool isKeyDown(int virtualKey)
{
    return (static_cast<unsigned short>(::GetAsyncKeyState(virtualKey)) & 0x8000u) != 0;
}

void pressNeutralKey()
{
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = kNeutralKey;
        input.ki.dwExtraInfo = kOwnStroke;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace tellurix::platform
