#include <windows.h>

#include <map>

#include "platform/designs.h"
#include "platform/win32/handles.h"
#include "platform/win32/images.h"
#include "platform/win32/toolkit_state.h"

namespace tellurix::platform {
namespace {

struct Brushes {
    std::map<int, UniqueBrush> live;
    int next = 1;
};

Brushes& brushes()
{
    static Brushes table;
    return table;
}

}  // namespace

int createPatternBrush(int image)
{
    HBITMAP bitmap = win32::bitmapHandle(image);
    if (!bitmap)
        return kNoBrush;
    HBRUSH brush = ::CreatePatternBrush(bitmap);
    if (!brush)
        return kNoBrush;
    const int number = brushes().next++;
    brushes().live[number] = UniqueBrush(brush);
    return number;
}

void releaseBrush(int brush)
{
    brushes().live.erase(brush);
}

void setWindowBackground(int window, int brush)
{
    HWND handle = win32::windowHandle(window);
    if (!handle)
        return;
    HBRUSH background = win32::brushHandle(brush);
    if (!background)
        background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    // The class background: the default window procedure erases the client
    // area with it, the pattern starting at the client area's top-left corner.
    ::SetClassLongPtrW(handle, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(background));
}

namespace win32 {

void releaseBrushes()
{
    brushes().live.clear();
}

HBRUSH brushHandle(int brush)
{
    auto it = brushes().live.find(brush);
    return it == brushes().live.end() ? nullptr : it->second.get();
}

}  // namespace win32
}  // namespace tellurix::platform
