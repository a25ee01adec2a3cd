#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/scale.h"
#include "platform/notices.h"
#include "platform/win32/text.h"
#include "platform/win32/toolkit_state.h"

namespace tellurix::platform {
namespace {

using namespace win32;

constexpr int kTipWidth = 180;

struct DisabledWindows {
    HWND keep = nullptr;
    std::vector<HWND> windows;
};

BOOL CALLBACK disableOne(HWND window, LPARAM context)
{
    auto* disabled = reinterpret_cast<DisabledWindows*>(context);
    if (window != disabled->keep && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        ::EnableWindow(window, FALSE);
        disabled->windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

void addBalloonTip(int control, std::string_view text, std::string_view title, int icon)
{
    HWND tool = controlHandle(control);
    HWND parent = tool ? ::GetParent(tool) : nullptr;
    if (!parent)
        return;
    HWND tip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_NOPREFIX | TTS_BALLOON, 0, 0, 0, 0, parent,
                                 nullptr, instance(), nullptr);
    if (!tip)
        return;
    ::SendMessageW(tip, TTM_SETTIPTEXTCOLOR, ::GetSysColor(COLOR_INFOTEXT), 0);
    ::SendMessageW(tip, TTM_SETTIPBKCOLOR, ::GetSysColor(COLOR_INFOBK), 0);
    // The wrap width is given at 96 DPI; the tip shows at its window's.
    const int dpi = windowDpi(state().controls[control].window);
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, scaled(kTipWidth, dpi));
    std::wstring toolText = widen(text);
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = toolText.data();
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!title.empty()) {
        const std::wstring titleText = widen(title);
        ::SendMessageW(tip, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(titleText.c_str()));
    }
}

namespace {

// A message box over every window of the program: they take no input while it is open.
int modalBox(std::string_view title, std::string_view text, UINT style)
{
    HWND foreground = ::GetForegroundWindow();
    DWORD process = 0;
    if (foreground)
        ::GetWindowThreadProcessId(foreground, &process);
    HWND owner = process == ::GetCurrentProcessId() ? foreground : nullptr;

    DisabledWindows disabled;
    disabled.keep = foreground;
    ::EnumThreadWindows(::GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(&disabled));

    const int answer = ::MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), style);

    for (HWND window : disabled.windows)
        ::EnableWindow(window, TRUE);
    return answer;
}

}  // namespace

void showMessageBox(std::string_view title, std::string_view text)
{
    modalBox(title, text, MB_OK | MB_ICONINFORMATION);
}

bool askYesNo(std::string_view title, std::string_view text)
{
    return modalBox(title, text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

}  // namespace tellurix::platform
