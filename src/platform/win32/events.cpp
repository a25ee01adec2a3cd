#include <windows.h>

#include "platform/win32/toolkit_state.h"
#include "platform/window_toolkit.h"

namespace tellurix::platform {
namespace {

using namespace win32;

bool isOurTopLevel(HWND window)
{
    return windowNumber(window) != kNoWindow;
}

// Tab and Shift+Tab move the focus among the active window's controls that take
// it, wrapping around, in every window of the program.
bool handleTab()
{
    HWND active = ::GetActiveWindow();
    if (!isOurTopLevel(active))
        return false;
    const bool backwards = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND next = ::GetNextDlgTabItem(active, ::GetFocus(), backwards ? TRUE : FALSE);
    if (next)
        ::SetFocus(next);
    return true;
}

// Keys the program answers before the focused control sees them.
bool translateKeys(MSG& message)
{
    if (message.message != WM_KEYDOWN)
        return false;
    HWND main = mainWindowHandle();
    if (message.wParam == VK_TAB)
        return handleTab();
    if (message.wParam == VK_ESCAPE && main && ::GetActiveWindow() == main) {
        // Escape puts the main window away, as its close box does.
        recordEvent({EventKind::Close, state().mainWindow, EventSubtype::None});
        return true;
    }
    ToolkitState& s = state();
    if (s.accelerators && s.acceleratorWindow != kNoWindow) {
        HWND owner = windowHandle(s.acceleratorWindow);
        if (owner && ::GetActiveWindow() == owner)
            return ::TranslateAcceleratorW(owner, s.accelerators.get(), &message) != 0;
    }
    return false;
}

Event takeRecordedEvent()
{
    ToolkitState& s = state();
    const Event event = s.events.front();
    s.events.pop_front();
    return event;
}

}  // namespace

void registerReturnShortcut(int window, int menuItem)
{
    ACCEL accelerator{};
    accelerator.fVirt = FVIRTKEY;
    accelerator.key = VK_RETURN;
    accelerator.cmd = static_cast<WORD>(menuItem);
    state().accelerators = UniqueAccelerators(::CreateAcceleratorTableW(&accelerator, 1));
    state().acceleratorWindow = window;
}

Event waitEvent()
{
    if (!state().events.empty())
        return takeRecordedEvent();
    // The Unicode loop keeps what the user types into the search field intact,
    // whatever the ANSI code page.
    MSG message{};
    const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
    if (result > 0 && !translateKeys(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (!state().events.empty())
        return takeRecordedEvent();
    return {};
}

void setSessionEndHandler(void (*handler)())
{
    state().sessionEndHandler = handler;
}

}  // namespace tellurix::platform
