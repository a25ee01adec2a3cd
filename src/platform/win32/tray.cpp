#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <string>
#include <utility>

#include "platform/tray.h"
#include "platform/win32/gdi.h"
#include "platform/win32/handles.h"
#include "platform/win32/images.h"
#include "platform/win32/text.h"
#include "platform/win32/toolkit_state.h"
#include "platform/win32/window_extensions.h"

namespace tellurix::platform {
namespace win32 {
namespace {

struct MenuItemRecord {
    std::wstring text;
    MenuItemLayout layout;
};

struct MenuRecord {
    UniqueMenu handle;
    std::map<int, MenuItemRecord> items;
    MenuLook look;
};

struct TrayToolkit {
    // Icon number -> the window it was registered for.
    std::map<int, HWND> icons;
    void (*restartHandler)() = nullptr;
    std::map<int, MenuRecord> menus;
    UniqueFont menuFont;
};

TrayToolkit& tray()
{
    static TrayToolkit instance;
    return instance;
}

// The shell broadcasts this registered message to every top-level window when
// it has created the notification area anew.
UINT taskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

Rgb systemColour(int index)
{
    const COLORREF colour = ::GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

HFONT menuFont()
{
    TrayToolkit& t = tray();
    if (!t.menuFont) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            t.menuFont.reset(::CreateFontIndirectW(&metrics.lfMenuFont));
    }
    if (t.menuFont)
        return t.menuFont.get();
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void fill(HDC dc, const RECT& rect, Rgb colour)
{
    ::SetDCBrushColor(dc, colourRef(colour));
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void frame(HDC dc, const RECT& rect, Rgb colour)
{
    ::SetDCBrushColor(dc, colourRef(colour));
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

MenuRecord* findMenu(int menu)
{
    auto it = tray().menus.find(menu);
    return it == tray().menus.end() ? nullptr : &it->second;
}

MenuRecord* findMenu(HMENU handle)
{
    for (auto& [number, record] : tray().menus)
        if (record.handle.get() == handle)
            return &record;
    return nullptr;
}

const MenuItemRecord* findItem(MenuRecord* menu, UINT item)
{
    if (!menu)
        return nullptr;
    auto it = menu->items.find(static_cast<int>(item));
    return it == menu->items.end() ? nullptr : &it->second;
}

bool onMeasureItem(MEASUREITEMSTRUCT& measure)
{
    if (measure.CtlType != ODT_MENU)
        return false;
    // Owner-drawn items carry their menu's number as item data.
    const MenuItemRecord* item = findItem(findMenu(static_cast<int>(measure.itemData)), measure.itemID);
    if (!item)
        return false;
    measure.itemWidth = static_cast<UINT>(item->layout.size.width);
    measure.itemHeight = static_cast<UINT>(item->layout.size.height);
    return true;
}

void drawItem(const DRAWITEMSTRUCT& draw, const MenuLook& look, const MenuItemRecord& item)
{
    HDC dc = draw.hDC;
    const SavedDcState saved(dc);
    const RECT& area = draw.rcItem;
    const bool hot = (draw.itemState & ODS_SELECTED) != 0;
    if (hot) {
        fill(dc, area, look.hotFill);
        frame(dc, area, look.hotFrame);
    } else {
        fill(dc, area, look.background);
        // The column's colours spread over its width at the menu's scale.
        const int width = look.columnWidth > 0 ? look.columnWidth : kMenuColumnWidth;
        for (int x = 0; x < width; ++x) {
            const RECT line{area.left + x, area.top, area.left + x + 1, area.bottom};
            fill(dc, line, look.column[static_cast<std::size_t>(x * kMenuColumnWidth / width)]);
        }
    }
    ::SelectObject(dc, menuFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colourRef(hot ? look.hotText : look.text));
    RECT textArea{area.left + item.layout.textOffset.x, area.top + item.layout.textOffset.y, area.right, area.bottom};
    ::DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &textArea,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

bool onDrawItem(const DRAWITEMSTRUCT& draw)
{
    if (draw.CtlType != ODT_MENU)
        return false;
    MenuRecord* menu = findMenu(reinterpret_cast<HMENU>(draw.hwndItem));
    const MenuItemRecord* item = findItem(menu, draw.itemID);
    if (!item)
        return false;
    drawItem(draw, menu->look, *item);
    return true;
}

// Opens the menu and waits for the user's choice (0: none).
UINT trackMenu(HMENU menu, HWND owner, Point at)
{
    ::SetForegroundWindow(owner);
    return static_cast<UINT>(::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
}

// Under X (Wine) the click on the notification area that asked for the menu
// also moves the keyboard focus there, and the news of that may reach us only
// inside the menu's loop: it then hands the foreground to the desktop and
// closes the menu at once. Such a menu gets one second chance.
bool closedByLateFocusChange(ULONGLONG openedAt)
{
    constexpr ULONGLONG kAtOnceMs = 300;
    HWND foreground = ::GetForegroundWindow();
    return ::GetTickCount64() - openedAt < kAtOnceMs && (!foreground || foreground == ::GetDesktopWindow());
}

}  // namespace

bool handleTrayMessage(HWND window, UINT message, WPARAM /*wparam*/, LPARAM lparam, LRESULT& answer)
{
    switch (message) {
    case WM_MEASUREITEM:
        if (!onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)))
            return false;
        answer = TRUE;
        return true;
    case WM_DRAWITEM:
        if (!onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)))
            return false;
        answer = TRUE;
        return true;
    default: break;
    }
    // Every top-level window hears of the new notification area; the main
    // window, which owns the icons, answers for all.
    if (message >= 0xC000 && message == taskbarCreatedMessage() && window == mainWindowHandle()) {
        if (tray().restartHandler)
            tray().restartHandler();
        answer = 0;
        return true;
    }
    return false;
}

}  // namespace win32

using namespace win32;

bool addTrayIcon(int icon, int window, int image, std::string_view tip)
{
    HWND owner = windowHandle(window);
    if (!owner)
        return false;
    tray().icons[icon] = owner;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = static_cast<UINT>(icon);
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = iconHandle(image);
    const bool added = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    data.uFlags = NIF_TIP;
    const std::wstring text = widen(tip);
    static_assert(kTrayTipLength < sizeof data.szTip / sizeof data.szTip[0]);
    const std::size_t length = std::min(text.size(), kTrayTipLength);
    std::wmemcpy(data.szTip, text.data(), length);
    data.szTip[length] = L'\0';
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
    return added;
}

void removeTrayIcon(int icon)
{
    auto it = tray().icons.find(icon);
    if (it == tray().icons.end())
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = it->second;
    data.uID = static_cast<UINT>(icon);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    tray().icons.erase(it);
}

void showTrayBalloon(int icon, std::string_view title, std::string_view text)
{
    auto it = tray().icons.find(icon);
    if (it == tray().icons.end())
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = it->second;
    data.uID = static_cast<UINT>(icon);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    const std::wstring wideTitle = widen(title);
    const std::wstring wideText = widen(text);
    // Cut to the shell's fields, which keep one place for the terminating null.
    wideTitle.copy(data.szInfoTitle, std::size(data.szInfoTitle) - 1);
    wideText.copy(data.szInfo, std::size(data.szInfo) - 1);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void setTrayRestartHandler(void (*handler)())
{
    tray().restartHandler = handler;
}

MenuPalette systemMenuPalette()
{
    return {systemColour(COLOR_HIGHLIGHT), systemColour(COLOR_HIGHLIGHTTEXT), systemColour(COLOR_MENU),
            systemColour(COLOR_MENUTEXT)};
}

Size menuTextSize(std::string_view text)
{
    const ScreenDc dc;
    const SelectedObject font(dc.get(), menuFont());
    const std::wstring wide = widen(text);
    SIZE extent{};
    if (!dc.get() || !::GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent))
        return {};
    return {extent.cx, extent.cy};
}

namespace win32 {

void releaseMenus()
{
    tray().menus.clear();
}

}  // namespace win32

bool createPopupMenu(int menu)
{
    UniqueMenu handle(::CreatePopupMenu());
    if (!handle)
        return false;
    MenuRecord& record = tray().menus[menu];
    record.handle = std::move(handle);
    record.items.clear();
    return true;
}

bool hasMenu(int menu)
{
    return findMenu(menu) != nullptr;
}

bool appendMenuItem(int menu, int item, std::string_view text, MenuItemLayout layout)
{
    MenuRecord* record = findMenu(menu);
    if (!record)
        return false;
    // For an owner-drawn item the last argument is the item's data, not a text.
    const auto data = reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(menu));
    if (!::AppendMenuW(record->handle.get(), MF_OWNERDRAW, static_cast<UINT_PTR>(item), data))
        return false;
    record->items[item] = {widen(text), layout};
    return true;
}

void setMenuLook(int menu, const MenuLook& look)
{
    if (MenuRecord* record = findMenu(menu))
        record->look = look;
}

void showPopupMenu(int menu, int window, Point at)
{
    MenuRecord* record = findMenu(menu);
    HWND owner = windowHandle(window);
    if (!record || !owner)
        return;
    const ULONGLONG openedAt = ::GetTickCount64();
    UINT chosen = trackMenu(record->handle.get(), owner, at);
    if (chosen == 0 && closedByLateFocusChange(openedAt))
        chosen = trackMenu(record->handle.get(), owner, at);
    // The choice reaches the event loop as the menu's own command would.
    if (chosen != 0)
        ::PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    // Lets the menu close properly when the next click goes elsewhere.
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace tellurix::platform
