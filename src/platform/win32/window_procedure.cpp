#include "platform/win32/window_procedure.h"

#include "platform/win32/toolkit_state.h"
#include "platform/win32/window_extensions.h"

namespace tellurix::platform::win32 {
namespace {

EventSubtype commandSubtype(ControlKind kind, WORD code)
{
    switch (kind) {
    case ControlKind::SiteLabel:
    case ControlKind::ImageButton:
    case ControlKind::ImageControl:
        if (code == STN_CLICKED)
            return EventSubtype::LeftClick;
        if (code == STN_DBLCLK)
            return EventSubtype::DoubleClick;
        return EventSubtype::Other;
    case ControlKind::SearchField:
        if (code == EN_SETFOCUS)
            return EventSubtype::FocusGained;
        if (code == EN_KILLFOCUS)
            return EventSubtype::FocusLost;
        if (code == EN_CHANGE)
            return EventSubtype::TextChanged;
        return EventSubtype::Other;
    case ControlKind::ListBox:
        if (code == LBN_SELCHANGE)
            return EventSubtype::SelectionChanged;
        if (code == LBN_DBLCLK)
            return EventSubtype::DoubleClick;
        // The list gaining or losing the focus is no event of the program's.
        if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS)
            return EventSubtype::None;
        return EventSubtype::Other;
    case ControlKind::PushButton: return code == BN_CLICKED ? EventSubtype::LeftClick : EventSubtype::Other;
    }
    return EventSubtype::Other;
}

void onCommand(WPARAM wparam, LPARAM lparam)
{
    const WORD code = HIWORD(wparam);
    if (lparam == 0) {
        // A menu item (code 0) or the Return shortcut (code 1).
        recordEvent({EventKind::Menu, LOWORD(wparam), EventSubtype::None});
        return;
    }
    const int control = controlNumber(reinterpret_cast<HWND>(lparam));
    if (control == kNoControl)
        return;
    const EventSubtype subtype = commandSubtype(state().controls[control].kind, code);
    if (subtype != EventSubtype::None)
        recordEvent({EventKind::Control, control, subtype});
}

void onTrayCallback(WPARAM wparam, LPARAM lparam)
{
    EventSubtype subtype = EventSubtype::None;
    switch (LOWORD(lparam)) {
    case WM_LBUTTONDOWN: subtype = EventSubtype::LeftPress; break;
    case WM_RBUTTONDOWN: subtype = EventSubtype::RightPress; break;
    case WM_LBUTTONDBLCLK: subtype = EventSubtype::LeftDoubleClick; break;
    case WM_RBUTTONDBLCLK: subtype = EventSubtype::RightDoubleClick; break;
    default: return;
    }
    recordEvent({EventKind::Tray, static_cast<int>(wparam), subtype});
}

// The bar behaves like a dialog: when it is activated the keyboard focus goes
// back to the control that had it, or else to the first one that takes it.
void onMainWindowActivate(HWND window, WPARAM wparam)
{
    if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(window, focus))
            state().lastFocusInMain = focus;
        return;
    }
    HWND target = state().lastFocusInMain;
    if (!target || !::IsChild(window, target) || !::IsWindowVisible(target) || !::IsWindowEnabled(target))
        target = ::GetNextDlgTabItem(window, nullptr, FALSE);
    if (target)
        ::SetFocus(target);
}

// Another thread or copy of the program asks for the main window; the program
// decides where and how it comes up.
void bringUpFromRequest()
{
    if (!g_shuttingDown.load() && mainWindowHandle())
        recordEvent({EventKind::BringUp, state().mainWindow, EventSubtype::None});
}

// The window moved to a monitor of another scale (or the scale changed): it
// takes the rectangle Windows suggests, its controls with the dialog font get
// that font at the new DPI, and the program lays out the rest.
void onDpiChanged(HWND window, WPARAM wparam, LPARAM lparam)
{
    const int number = windowNumber(window);
    if (number == kNoWindow)
        return;
    const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
    ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = guiFont(HIWORD(wparam));
    for (const auto& [control, record] : state().controls)
        if (record.window == number && record.font == 0)
            ::SendMessageW(record.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    recordEvent({EventKind::DpiChanged, number, EventSubtype::None});
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (LRESULT answer = 0; handleExtensionMessage(window, message, wparam, lparam, answer))
        return answer;
    switch (message) {
    case WM_COMMAND: onCommand(wparam, lparam); return 0;
    case WM_CLOSE: {
        // A close request never destroys a window; the event loop decides.
        const int number = windowNumber(window);
        if (number != kNoWindow)
            recordEvent({EventKind::Close, number, EventSubtype::None});
        return 0;
    }
    case WM_ACTIVATE:
        if (window == mainWindowHandle()) {
            onMainWindowActivate(window, wparam);
            return 0;
        }
        break;
    case kBringUpMessage: bringUpFromRequest(); return 0;
    case kPostedEventMessage: recordEvent({EventKind::Posted, static_cast<int>(wparam), EventSubtype::None}); return 0;
    case WM_DPICHANGED: onDpiChanged(window, wparam, lparam); return 0;
    case kTrayCallbackMessage: onTrayCallback(wparam, lparam); return 0;
    case WM_TIMER:
        ::KillTimer(window, wparam);
        recordEvent({EventKind::Timer, static_cast<int>(wparam), EventSubtype::None});
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // The process is ended from outside once this returns, so the settings
        // are saved right here rather than through the event queue.
        if (wparam && state().sessionEndHandler && !state().sessionEndHandled) {
            state().sessionEndHandled = true;
            state().sessionEndHandler(state().sessionEndContext);
        }
        return 0;
    default: break;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tellurix::platform::win32
