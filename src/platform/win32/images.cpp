#include "platform/win32/images.h"

#include <commctrl.h>

#include <map>

#include "platform/images.h"
#include "formats/icon_directory.h"
#include "formats/pixels.h"
#include "platform/win32/handles.h"
#include "platform/win32/toolkit_state.h"

namespace tellurix::platform {
namespace {

struct BitmapImage {
    UniqueBitmap handle;
    int width = 0;
    int height = 0;
};

// Bytes from one row of a 24-bit DIB to the next.
std::size_t dibStride(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

struct IconImage {
    UniqueIcon handle;
    int width = 0;
    int height = 0;
};

std::map<int, IconImage>& icons()
{
    static std::map<int, IconImage> table;
    return table;
}

std::map<int, BitmapImage>& bitmaps()
{
    static std::map<int, BitmapImage> table;
    return table;
}

HBITMAP makeDib(const RgbPixels& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down, as the pixels are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    const std::size_t stride = dibStride(pixels.width);
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < pixels.height; ++y) {
        swapRedAndBlue(pixels.rgb.data() + static_cast<std::size_t>(y) * pixels.width * 3,
                       rows + static_cast<std::size_t>(y) * stride, static_cast<std::size_t>(pixels.width), 3);
    }
    return bitmap;
}

}  // namespace

bool createIconImage(int image, std::span<const std::uint8_t> icoFile, int size)
{
    const auto entry = iconEntryOfWidth(icoFile, size);
    if (!entry)
        return false;
    // The entry's data is what an icon resource holds; version 3 keeps the
    // alpha channel of 32-bit pictures.
    HICON icon =
        ::CreateIconFromResourceEx(const_cast<PBYTE>(icoFile.data() + entry->offset), static_cast<DWORD>(entry->size),
                                   TRUE, 0x00030000, entry->width, entry->height, LR_DEFAULTCOLOR);
    if (!icon)
        return false;
    icons()[image] = IconImage{UniqueIcon(icon), entry->width, entry->height};
    return true;
}

bool createShellIconImage(int image, int resource)
{
    HICON icon = nullptr;
    if (FAILED(::LoadIconMetric(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), LIM_SMALL, &icon)) || !icon)
        return false;
    icons()[image] = IconImage{UniqueIcon(icon), ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)};
    return true;
}

bool createIconFromPixels(int image, const RgbaPixels& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.rgba.size() != static_cast<std::size_t>(pixels.width) * pixels.height * 4)
        return false;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = pixels.width;
    header.bV5Height = -pixels.height;  // top-down, as the pixels are
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    UniqueBitmap colour(
        ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits)
        return false;
    swapRedAndBlue(pixels.rgba.data(), static_cast<std::uint8_t*>(bits), pixels.rgba.size() / 4, 4);
    // With an alpha channel the mask is not looked at; it must be there all the same.
    UniqueBitmap mask(::CreateBitmap(pixels.width, pixels.height, 1, 1, nullptr));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = mask.get();
    HICON icon = ::CreateIconIndirect(&info);
    if (!icon)
        return false;
    icons()[image] = IconImage{UniqueIcon(icon), pixels.width, pixels.height};
    return true;
}

bool createBitmapImage(int image, const RgbPixels& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.rgb.size() != static_cast<std::size_t>(pixels.width) * pixels.height * 3)
        return false;
    HBITMAP bitmap = makeDib(pixels);
    if (!bitmap)
        return false;
    bitmaps()[image] = BitmapImage{UniqueBitmap(bitmap), pixels.width, pixels.height};
    return true;
}

bool copyBitmapImage(int source, int target, int x, int y, int width, int height)
{
    auto it = bitmaps().find(source);
    if (it == bitmaps().end())
        return false;
    const BitmapImage& from = it->second;
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > from.width || y + height > from.height)
        return false;
    // The pixels live only in the DIB section, top-down and in B, G, R order.
    DIBSECTION section{};
    if (::GetObjectW(from.handle.get(), sizeof section, &section) != sizeof section || !section.dsBm.bmBits)
        return false;
    const auto* rows = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    RgbPixels cut;
    cut.width = width;
    cut.height = height;
    cut.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row)
        swapRedAndBlue(rows + static_cast<std::size_t>(y + row) * dibStride(from.width) + x * 3,
                       cut.rgb.data() + static_cast<std::size_t>(row) * width * 3, static_cast<std::size_t>(width), 3);
    return createBitmapImage(target, cut);
}

void releaseImage(int image)
{
    icons().erase(image);
    bitmaps().erase(image);
}

bool hasImage(int image)
{
    return icons().count(image) != 0 || bitmaps().count(image) != 0;
}

int imageWidth(int image)
{
    if (auto it = icons().find(image); it != icons().end())
        return it->second.width;
    if (auto it = bitmaps().find(image); it != bitmaps().end())
        return it->second.width;
    return 0;
}

int imageHeight(int image)
{
    if (auto it = icons().find(image); it != icons().end())
        return it->second.height;
    if (auto it = bitmaps().find(image); it != bitmaps().end())
        return it->second.height;
    return 0;
}

void setControlImage(int control, int image)
{
    HWND handle = win32::controlHandle(control);
    if (!handle)
        return;
    if (HICON icon = win32::iconHandle(image)) {
        ::SendMessageW(handle, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    } else if (HBITMAP bitmap = win32::bitmapHandle(image)) {
        ::SendMessageW(handle, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    } else {
        // No such image: the control shows no picture and keeps its size.
        const bool isIcon = (::GetWindowLongW(handle, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        ::SendMessageW(handle, STM_SETIMAGE, isIcon ? IMAGE_ICON : IMAGE_BITMAP, 0);
        ::InvalidateRect(handle, nullptr, TRUE);
        return;
    }
    // Draw the picture at its own size: statics otherwise stretch icons to 32 x 32.
    ::SetWindowPos(handle, nullptr, 0, 0, imageWidth(image), imageHeight(image),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace win32 {

void releaseImages()
{
    icons().clear();
    bitmaps().clear();
}

HICON iconHandle(int image)
{
    auto it = icons().find(image);
    return it == icons().end() ? nullptr : it->second.handle.get();
}

HBITMAP bitmapHandle(int image)
{
    auto it = bitmaps().find(image);
    return it == bitmaps().end() ? nullptr : it->second.handle.get();
}

}  // namespace win32
}  // namespace tellurix::platform
