#include <windows.h>

#include <algorithm>

#include "platform/win32/toolkit_state.h"
#include "platform/controls.h"
#include "platform/windows.h"

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

Key keyOf(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_UP: return Key::Up;
    case VK_DOWN: return Key::Down;
    case VK_PRIOR: return Key::PageUp;
    case VK_NEXT: return Key::PageDown;
    case VK_HOME: return Key::Home;
    case VK_END: return Key::End;
    case VK_RETURN: return Key::Return;
    case VK_ESCAPE: return Key::Escape;
    case VK_DELETE: return Key::Delete;
    case VK_F4: return Key::F4;
    default: return Key::None;
    }
}

bool held(int virtualKey)
{
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

// A key press the focused control hands to the program (takeKeys) becomes an
// event and goes no further.
bool takeKey(const MSG& message)
{
    const int control = controlNumber(message.hwnd);
    if (control == kNoControl)
        return false;
    const ControlRecord& record = state().controls[control];
    KeyPress press;
    if (message.message == WM_CHAR) {
        if (!record.takesCharacters || message.wParam < 0x20 || message.wParam == 0x7F)
            return false;
        press.key = Key::Character;
        press.character = static_cast<char32_t>(message.wParam);
    } else {
        press.key = keyOf(message.wParam);
        press.alt = message.message == WM_SYSKEYDOWN || held(VK_MENU);
        press.shift = held(VK_SHIFT);
        press.control = held(VK_CONTROL);
        if (press.key == Key::None ||
            std::find(record.takenKeys.begin(), record.takenKeys.end(), press) == record.takenKeys.end())
            return false;
    }
    Event event{EventKind::Key, control, EventSubtype::None};
    event.key = press;
    recordEvent(event);
    return true;
}

// Keys the program answers before the focused control sees them.
bool translateKeys(MSG& message)
{
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN || message.message == WM_CHAR) &&
        takeKey(message))
        return true;
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
    // -1: the queue failed; 0: somebody asked the thread to quit. Waiting on
    // would spin or wait for nothing: the program ends instead.
    if (result <= 0)
        return {EventKind::Ended, 0, EventSubtype::None};
    if (!translateKeys(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (!state().events.empty())
        return takeRecordedEvent();
    return {};
}

void postEvent(int number)
{
    if (HWND main = mainWindowHandle())
        ::PostMessageW(main, kPostedEventMessage, static_cast<WPARAM>(number), 0);
}

void setSessionEndHandler(void (*handler)(void*), void* context)
{
    state().sessionEndHandler = handler;
    state().sessionEndContext = context;
}

}  // namespace tellurix::platform
