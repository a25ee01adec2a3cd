#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/keyboard.h"
#include "platform/trace.h"
#include "platform/win32/handles.h"

namespace tellurix::platform {
namespace {

// Marks the strokes this program sends itself, so the filter never sees them.
constexpr ULONG_PTR kOwnStroke = 0x54454C4CUL;  // "TELL"
constexpr WORD kNeutralKey = 0xE8;
constexpr int kChordHotkeyId = 1;
constexpr wchar_t kWatchClass[] = L"Tellurix keyboard watch";

// Everything here lives on the keyboard's thread once it runs; only the
// start hands it over.
struct Keyboard {
    KeyboardWatch watch;
    UniqueWindowsHook hook;
    UniqueWindow window;  // receives the key presses the system sees
    UniqueWinEventHook foregroundHook;
    bool chordRegistered = false;
    bool installed = false;
    bool selfElevated = false;
    UniqueKernelHandle ready;
    // The longest a stroke kept the thread busy so far, for the trace.
    LONGLONG longestTicks = 0;
    LONGLONG ticksPerSecond = 1;
};

Keyboard g_keyboard;

void traceBusyTime(LONGLONG ticks)
{
    if (ticks <= g_keyboard.longestTicks)
        return;
    g_keyboard.longestTicks = ticks;
    markStep("hook busy " + std::to_string(ticks * 1000000 / g_keyboard.ticksPerSecond) + " us");
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
            verdict = g_keyboard.watch.stroke(g_keyboard.watch.context, stroke);
        }
        LARGE_INTEGER end{};
        ::QueryPerformanceCounter(&end);
        traceBusyTime(end.QuadPart - start.QuadPart);
        if (verdict == KeyVerdict::Keep)
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

bool installHook()
{
    // Never two hooks of ours at once: the old one goes first (when Windows
    // removed it, letting it go only fails).
    g_keyboard.hook.reset();
    g_keyboard.hook.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, lowLevelKeyboard, ::GetModuleHandleW(nullptr), 0));
    return static_cast<bool>(g_keyboard.hook);
}

// A key press as raw input: the system delivers it to this window whether or
// not our hook still runs, after the hook had its turn (both arrive on this
// thread, the hook's call first).
void onRawInput(LPARAM lparam)
{
    RAWINPUT input{};
    UINT size = sizeof input;
    if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) ==
            static_cast<UINT>(-1) ||
        input.header.dwType != RIM_TYPEKEYBOARD)
        return;
    const RAWKEYBOARD& key = input.data.keyboard;
    const bool press = key.Message == WM_KEYDOWN || key.Message == WM_SYSKEYDOWN;
    if (press && key.ExtraInformation != kOwnStroke)
        g_keyboard.watch.systemPress(g_keyboard.watch.context);
}

LRESULT CALLBACK watchWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INPUT)
        onRawInput(lparam);
    return ::DefWindowProcW(window, message, wparam, lparam);
}

// The system's key presses reach a message-only window of this thread, also
// while another program has the focus. Nothing arrives while nobody types.
bool watchSystemPresses()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = watchWindowProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWatchClass;
    if (!::RegisterClassExW(&windowClass))
        return false;
    g_keyboard.window.reset(
        ::CreateWindowExW(0, kWatchClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr));
    if (!g_keyboard.window)
        return false;
    RAWINPUTDEVICE keyboard{};
    keyboard.usUsagePage = 0x01;  // generic desktop controls
    keyboard.usUsage = 0x06;      // keyboard
    keyboard.dwFlags = RIDEV_INPUTSINK;
    keyboard.hwndTarget = g_keyboard.window.get();
    return ::RegisterRawInputDevices(&keyboard, 1, sizeof keyboard) != FALSE;
}

// True when the process runs elevated (as administrator).
bool processElevated(HANDLE process)
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token))
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    UniqueKernelHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// A window whose program runs with rights this one lacks: Windows keeps its
// keys from our hook. A program we may not even ask counts as one.
bool elevatedAboveUs(HWND window)
{
    if (g_keyboard.selfElevated || window == nullptr)
        return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    return processElevated(process.get());
}

void CALLBACK onForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object == OBJID_WINDOW)
        g_keyboard.watch.foreground(g_keyboard.watch.context, elevatedAboveUs(window));
}

DWORD WINAPI keyboardThread(LPVOID)
{
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    g_keyboard.installed = installHook();
    if (g_keyboard.installed) {
        // Without them the hook still works; it only cannot be brought back
        // or reach elevated windows.
        if (!watchSystemPresses())
            markStep("no raw keyboard input");
        g_keyboard.foregroundHook.reset(::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                                          onForeground, 0, 0,
                                                          WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
    }
    ::SetEvent(g_keyboard.ready.get());
    if (!g_keyboard.installed)
        return 0;
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == WM_HOTKEY && message.wParam == kChordHotkeyId)
            g_keyboard.watch.registeredChord(g_keyboard.watch.context);
        else
            ::DispatchMessageW(&message);
    }
    return 0;
}

UINT hotkeyModifiers(const HotkeyChord& chord)
{
    UINT modifiers = MOD_NOREPEAT;
    if (chord.control != Side::None)
        modifiers |= MOD_CONTROL;
    if (chord.shift != Side::None)
        modifiers |= MOD_SHIFT;
    if (chord.alt != Side::None)
        modifiers |= MOD_ALT;
    if (chord.windows != Side::None)
        modifiers |= MOD_WIN;
    return modifiers;
}

}  // namespace

bool startKeyboardHook(const KeyboardWatch& watch)
{
    g_keyboard.watch = watch;
    LARGE_INTEGER frequency{};
    if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        g_keyboard.ticksPerSecond = frequency.QuadPart;
    g_keyboard.selfElevated = processElevated(::GetCurrentProcess());
    g_keyboard.ready = UniqueKernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!g_keyboard.ready)
        return false;
    // The thread lives as long as the process; its handle is not needed.
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, keyboardThread, nullptr, 0, nullptr));
    if (!thread)
        return false;
    // However long the thread takes, its answer decides: a hook that came
    // after a time-out would run beside the polling that stood in for it.
    if (::WaitForSingleObject(g_keyboard.ready.get(), INFINITE) != WAIT_OBJECT_0)
        return false;
    return g_keyboard.installed;
}

bool reinstallKeyboardHook()
{
    markStep("keyboard hook installed again");
    return installHook();
}

bool registerChordHotkey(const HotkeyChord& chord)
{
    unregisterChordHotkey();
    g_keyboard.chordRegistered =
        ::RegisterHotKey(nullptr, kChordHotkeyId, hotkeyModifiers(chord), static_cast<UINT>(chord.key)) != FALSE;
    return g_keyboard.chordRegistered;
}

void unregisterChordHotkey()
{
    if (g_keyboard.chordRegistered)
        ::UnregisterHotKey(nullptr, kChordHotkeyId);
    g_keyboard.chordRegistered = false;
}

bool fullScreenInFront()
{
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(::SHQueryUserNotificationState(&state)))
        return false;
    return state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
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
