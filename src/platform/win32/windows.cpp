#include <windows.h>

#include <initializer_list>
#include <utility>

#include "platform/threads.h"
#include "platform/win32/gdi.h"
#include "platform/win32/system_function.h"
#include "platform/win32/text.h"
#include "platform/win32/toolkit_state.h"
#include "platform/win32/window_procedure.h"
#include "platform/controls.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/windows.h"

namespace tellurix::platform {
namespace win32 {

std::atomic<HWND> g_mainWindowForThreads{nullptr};
std::atomic<bool> g_shuttingDown{false};

ToolkitState& state()
{
    static ToolkitState instance;
    return instance;
}

HINSTANCE instance()
{
    return ::GetModuleHandleW(nullptr);
}

HWND windowHandle(int window)
{
    auto it = state().windows.find(window);
    return it == state().windows.end() ? nullptr : it->second.get();
}

HWND controlHandle(int control)
{
    auto it = state().controls.find(control);
    return it == state().controls.end() ? nullptr : it->second.handle;
}

HWND mainWindowHandle()
{
    return windowHandle(state().mainWindow);
}

int windowNumber(HWND handle)
{
    if (!handle)
        return kNoWindow;
    for (const auto& [number, window] : state().windows)
        if (window.get() == handle)
            return number;
    return kNoWindow;
}

void bringToFront(HWND window)
{
    // A hidden window can be the foreground one (the bar behind the tray menu).
    if (::GetForegroundWindow() == window && ::IsWindowVisible(window))
        return;
    if (::IsWindowVisible(window)) {
        // A window that is already on screen behind another program's is not
        // raised by every window manager on request; shown afresh, it is.
        ::ShowWindow(window, SW_HIDE);
    }
    // Windows lets only the foreground thread hand the foreground on: borrow
    // its input state for the moment of the switch.
    const DWORD ownThread = ::GetCurrentThreadId();
    HWND current = ::GetForegroundWindow();
    const DWORD foregroundThread = current ? ::GetWindowThreadProcessId(current, nullptr) : 0;
    const bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                          ::AttachThreadInput(ownThread, foregroundThread, TRUE);
    // Shown, activated and on top in one step: one round with the window
    // manager where showing and raising one after the other take two.
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
    if (attached)
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
}

int controlNumber(HWND handle)
{
    if (!handle)
        return kNoControl;
    for (const auto& [number, control] : state().controls)
        if (control.handle == handle)
            return number;
    return kNoControl;
}

void recordEvent(const Event& event)
{
    state().events.push_back(event);
    // A message sent from another thread (the shell's tray notifications) is
    // handled inside GetMessage, which then keeps waiting for a posted one:
    // post an empty message so the event loop sees the event at once.
    if (::InSendMessage())
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool registerWindowClasses()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = windowProcedure;
    main.hInstance = instance();
    main.hIcon = ::LoadIconW(instance(), MAKEINTRESOURCEW(1));
    main.hIconSm =
        static_cast<HICON>(::LoadImageW(instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                        ::GetSystemMetrics(SM_CYSMICON), 0));
    main.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kMainWindowClass;
    if (!::RegisterClassExW(&main))
        return false;
    // The picker and the design window get their own class: the main window's
    // class background is replaced by the design, theirs must stay plain.
    WNDCLASSEXW owned = main;
    owned.hIcon = nullptr;
    owned.hIconSm = nullptr;
    owned.lpszClassName = kOwnedWindowClass;
    if (!::RegisterClassExW(&owned))
        return false;
    registered = true;
    return true;
}

namespace {

struct Styles {
    DWORD style;
    DWORD exStyle;
};

Styles stylesFor(WindowKind kind)
{
    switch (kind) {
    case WindowKind::MainBar: return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0};
    case WindowKind::Popup: return {WS_POPUP, 0};
    case WindowKind::ToolDialog: return {WS_OVERLAPPED | WS_CAPTION, WS_EX_DLGMODALFRAME};
    case WindowKind::Dropdown: return {WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW};
    }
    return {WS_OVERLAPPED, 0};
}

}  // namespace
}  // namespace win32

using namespace win32;

Size screenSize()
{
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

int screenDpi()
{
    const ScreenDc screen;
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

Size outerSize(WindowKind kind, Size client, int dpi)
{
    const Styles styles = stylesFor(kind);
    RECT rect{0, 0, client.width, client.height};
    // The frame at that DPI (Windows 10 on); older systems have one DPI for all.
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = systemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&rect, styles.style, FALSE, styles.exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&rect, styles.style, FALSE, styles.exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

Rect workArea(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !::GetMonitorInfoW(monitor, &info))
        return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const RECT& r = info.rcWork;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

Rect workAreaAt(Point at)
{
    return workArea(::MonitorFromPoint(POINT{at.x, at.y}, MONITOR_DEFAULTTONEAREST));
}

Rect workAreaOf(int window)
{
    HWND handle = windowHandle(window);
    return handle ? workArea(::MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST)) : workAreaAt(cursorPosition());
}

Point cursorPosition()
{
    POINT point{};
    ::GetCursorPos(&point);
    return {point.x, point.y};
}

bool createWindow(int window, WindowKind kind, std::string_view title, Rect outer)
{
    if (!registerWindowClasses())
        return false;
    const Styles styles = stylesFor(kind);
    const bool isMain = kind == WindowKind::MainBar;
    HWND handle = ::CreateWindowExW(styles.exStyle, isMain ? kMainWindowClass : kOwnedWindowClass, widen(title).c_str(),
                                    styles.style, outer.x, outer.y, outer.width, outer.height,
                                    isMain ? nullptr : mainWindowHandle(), nullptr, instance(), nullptr);
    if (!handle)
        return false;
    state().windows[window] = UniqueWindow(handle);
    if (isMain && !mainWindowHandle()) {
        state().mainWindow = window;
        g_mainWindowForThreads.store(handle);
    }
    return true;
}

bool isWindowOpen(int window)
{
    return windowHandle(window) != nullptr;
}

void closeWindow(int window)
{
    auto it = state().windows.find(window);
    if (it == state().windows.end())
        return;
    if (window == state().mainWindow) {
        g_mainWindowForThreads.store(nullptr);
        state().mainWindow = kNoWindow;
    }
    HWND handle = it->second.get();
    for (auto control = state().controls.begin(); control != state().controls.end();) {
        if (control->second.window == window)
            control = state().controls.erase(control);
        else
            ++control;
    }
    if (state().lastFocusInMain && ::IsChild(handle, state().lastFocusInMain))
        state().lastFocusInMain = nullptr;
    state().windows.erase(it);  // destroys the window and its controls
}

Rect windowRect(int window)
{
    RECT rect{};
    if (HWND handle = windowHandle(window))
        ::GetWindowRect(handle, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void moveWindow(int window, Rect outer)
{
    if (HWND handle = windowHandle(window))
        ::SetWindowPos(handle, nullptr, outer.x, outer.y, outer.width, outer.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int windowDpi(int window)
{
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = systemFunction<DpiForWindow>(L"user32.dll", "GetDpiForWindow");
    HWND handle = windowHandle(window);
    const int dpi = handle && dpiForWindow ? static_cast<int>(dpiForWindow(handle)) : 0;
    return dpi > 0 ? dpi : screenDpi();
}

void bringToFront(int window)
{
    if (HWND handle = windowHandle(window))
        win32::bringToFront(handle);
}

void prepareFirstShow(int window)
{
    HWND handle = windowHandle(window);
    if (!handle)
        return;
    // The window's own icons (its class's): given to it now, they reach the
    // window manager now rather than when the window is first shown.
    for (const auto& [which, index] : {std::pair{ICON_BIG, GCLP_HICON}, std::pair{ICON_SMALL, GCLP_HICONSM}}) {
        if (const LONG_PTR icon = ::GetClassLongPtrW(handle, index))
            ::SendMessageW(handle, WM_SETICON, which, icon);
    }
}

void showWindow(int window)
{
    if (HWND handle = windowHandle(window))
        ::ShowWindow(handle, SW_SHOW);
}

void showWindowWithoutActivating(int window)
{
    if (HWND handle = windowHandle(window))
        ::ShowWindow(handle, SW_SHOWNOACTIVATE);
}

void hideWindow(int window)
{
    if (HWND handle = windowHandle(window))
        ::ShowWindow(handle, SW_HIDE);
}

bool isWindowVisible(int window)
{
    HWND handle = windowHandle(window);
    return handle && ::IsWindowVisible(handle);
}

void setTopmost(int window, bool topmost)
{
    if (HWND handle = windowHandle(window))
        ::SetWindowPos(handle, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void setForegroundWindow(int window)
{
    HWND handle = windowHandle(window);
    if (!handle)
        return;
    // A hidden window (the bar behind the tray menu) only takes the
    // foreground; it is not shown for that.
    if (::IsWindowVisible(handle))
        win32::bringToFront(handle);
    else
        ::SetForegroundWindow(handle);
}

int foregroundWindow()
{
    return windowNumber(::GetForegroundWindow());
}

void enableWindow(int window, bool enable)
{
    if (HWND handle = windowHandle(window))
        ::EnableWindow(handle, enable ? TRUE : FALSE);
}

void invalidateWindow(int window)
{
    if (HWND handle = windowHandle(window))
        ::InvalidateRect(handle, nullptr, TRUE);
}

void releaseAll()
{
    // Owned windows first, the main window last; controls go with their windows.
    const int main = state().mainWindow;
    while (!state().windows.empty()) {
        auto it = state().windows.begin();
        if (it->first == main && state().windows.size() > 1)
            ++it;
        closeWindow(it->first);
    }
    state().controls.clear();
    state().fonts.clear();
    state().guiFonts.clear();
    state().accelerators.reset();
    releaseMenus();
    releaseBrushes();
    releaseImages();
}

void exitProcess(int code)
{
    ::ExitProcess(static_cast<UINT>(code));
}

}  // namespace tellurix::platform
