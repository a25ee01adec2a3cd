#include <windows.h>

#include <string>

#include "platform/win32/text.h"
#include "platform/win32/toolkit_state.h"
#include "platform/controls.h"
#include "platform/screen.h"
#include "platform/windows.h"

namespace tellurix::platform {
namespace {

using namespace win32;

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass classFor(ControlKind kind)
{
    switch (kind) {
    case ControlKind::SiteLabel: return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 0};
    case ControlKind::SearchField: return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0};
    case ControlKind::ImageButton: return {L"STATIC", SS_ICON | SS_NOTIFY, 0};
    case ControlKind::ListBox:
        return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ImageControl: return {L"STATIC", SS_BITMAP, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

bool createControl(int window, int control, ControlKind kind, Rect rect, std::string_view text)
{
    HWND parent = windowHandle(window);
    if (!parent)
        return false;
    const ControlClass cls = classFor(kind);
    // Unicode controls, so that the search field holds whatever the user types
    // or pastes.
    HWND handle = ::CreateWindowExW(cls.exStyle, cls.className, widen(text).c_str(), WS_CHILD | WS_VISIBLE | cls.style,
                                    rect.x, rect.y, rect.width, rect.height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(control)), instance(), nullptr);
    if (!handle)
        return false;
    ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont(windowDpi(window))), FALSE);
    state().controls[control] = ControlRecord{handle, window, kind};
    return true;
}

void setControlText(int control, std::string_view text)
{
    if (HWND handle = controlHandle(control))
        ::SetWindowTextW(handle, widen(text).c_str());
}

namespace {

std::wstring wideText(HWND handle)
{
    const int length = ::GetWindowTextLengthW(handle);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(handle, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace

std::string controlText(int control)
{
    HWND handle = controlHandle(control);
    return handle ? narrow(wideText(handle)) : std::string();
}

void showControl(int control, bool show)
{
    if (HWND handle = controlHandle(control))
        ::ShowWindow(handle, show ? SW_SHOW : SW_HIDE);
}

bool isControlVisible(int control)
{
    HWND handle = controlHandle(control);
    return handle && ::IsWindowVisible(handle);
}

void enableControl(int control, bool enable)
{
    if (HWND handle = controlHandle(control))
        ::EnableWindow(handle, enable ? TRUE : FALSE);
}

Rect controlScreenRect(int control)
{
    RECT rect{};
    if (HWND handle = controlHandle(control))
        ::GetWindowRect(handle, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void moveControl(int control, Rect rect)
{
    if (HWND handle = controlHandle(control))
        ::SetWindowPos(handle, nullptr, rect.x, rect.y, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void setFocus(int control)
{
    if (HWND handle = controlHandle(control))
        ::SetFocus(handle);
}

int focusedControl()
{
    return controlNumber(::GetFocus());
}

void takeKeys(int control, std::span<const KeyPress> keys, bool characters)
{
    auto it = state().controls.find(control);
    if (it == state().controls.end())
        return;
    it->second.takenKeys.assign(keys.begin(), keys.end());
    it->second.takesCharacters = characters;
}

void setCaretToEnd(int control)
{
    if (HWND handle = controlHandle(control)) {
        const int length = ::GetWindowTextLengthW(handle);
        ::SendMessageW(handle, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    }
}

void listAppend(int control, std::string_view text)
{
    if (HWND handle = controlHandle(control)) {
        const std::wstring wide = widen(text);
        ::SendMessageW(handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

int listCount(int control)
{
    HWND handle = controlHandle(control);
    return handle ? static_cast<int>(::SendMessageW(handle, LB_GETCOUNT, 0, 0)) : 0;
}

int listSelection(int control)
{
    HWND handle = controlHandle(control);
    if (!handle)
        return -1;
    const LRESULT selection = ::SendMessageW(handle, LB_GETCURSEL, 0, 0);
    return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

void setListSelection(int control, int index)
{
    if (HWND handle = controlHandle(control))
        ::SendMessageW(handle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void listClear(int control)
{
    if (HWND handle = controlHandle(control))
        ::SendMessageW(handle, LB_RESETCONTENT, 0, 0);
}

int listItemHeight(int control)
{
    HWND handle = controlHandle(control);
    const LRESULT height = handle ? ::SendMessageW(handle, LB_GETITEMHEIGHT, 0, 0) : 0;
    return height > 0 ? static_cast<int>(height) : 0;
}

int listVisibleItems(int control)
{
    HWND handle = controlHandle(control);
    if (!handle)
        return 1;
    RECT client{};
    ::GetClientRect(handle, &client);
    const LRESULT item = ::SendMessageW(handle, LB_GETITEMHEIGHT, 0, 0);
    const int visible = item > 0 ? (client.bottom - client.top) / static_cast<int>(item) : 1;
    return visible > 0 ? visible : 1;
}

std::string listItemText(int control, int index)
{
    HWND handle = controlHandle(control);
    if (!handle)
        return {};
    const LRESULT length = ::SendMessageW(handle, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(handle, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return narrow(text);
}

bool createFont(int font, int points, int weight, int dpi)
{
    // Negative: the character height, not the cell height.
    const int height = -::MulDiv(points, dpi, 72);
    HFONT handle = ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"");
    if (!handle)
        return false;
    state().fonts[font] = UniqueFont(handle);
    return true;
}

void setControlFont(int control, int font)
{
    auto it = state().fonts.find(font);
    HWND handle = controlHandle(control);
    if (handle && it != state().fonts.end()) {
        ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(it->second.get()), TRUE);
        state().controls[control].font = font;
    }
}

namespace win32 {

HFONT guiFont(int dpi)
{
    HFONT stock = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const int systemDpi = screenDpi();
    if (dpi == systemDpi)
        return stock;
    UniqueFont& font = state().guiFonts[dpi];
    if (!font) {
        LOGFONTW description{};
        ::GetObjectW(stock, sizeof description, &description);
        description.lfHeight = ::MulDiv(description.lfHeight, dpi, systemDpi);
        font.reset(::CreateFontIndirectW(&description));
    }
    return font ? font.get() : stock;
}

}  // namespace win32
}  // namespace tellurix::platform
