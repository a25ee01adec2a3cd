#include <cstring>
#include <map>
#include <variant>

#include "fake_platform/fake_designs.h"
#include "fake_platform/fake_toolkit.h"
#include "formats/icon_directory.h"
#include "platform/images.h"

namespace tellurix::platform {
namespace {

struct Icon {
    int width = 0;
    int height = 0;
};

// An image is an icon (its size is all a test can see) or a bitmap with its pixels.
using Image = std::variant<Icon, RgbPixels>;

std::map<int, Image>& images()
{
    static std::map<int, Image> table;
    return table;
}

const Image* findImage(int image)
{
    auto it = images().find(image);
    return it == images().end() ? nullptr : &it->second;
}

Size sizeOf(const Image& image)
{
    if (const auto* icon = std::get_if<Icon>(&image))
        return {icon->width, icon->height};
    const auto& pixels = std::get<RgbPixels>(image);
    return {pixels.width, pixels.height};
}

}  // namespace

bool createIconImage(int image, std::span<const std::uint8_t> icoFile, int size)
{
    const auto entry = iconEntryOfWidth(icoFile, size);
    if (!entry)
        return false;
    images()[image] = Icon{entry->width, entry->height};
    return true;
}

bool createShellIconImage(int image, int /*resource*/)
{
    // The small icon size at 96 DPI.
    images()[image] = Icon{16, 16};
    return true;
}

bool createIconFromPixels(int image, const RgbaPixels& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.rgba.size() != static_cast<std::size_t>(pixels.width) * pixels.height * 4)
        return false;
    images()[image] = Icon{pixels.width, pixels.height};
    return true;
}

// Set by the tests through fake::failBitmapImages.
static bool g_failBitmaps = false;

bool createBitmapImage(int image, const RgbPixels& pixels)
{
    if (g_failBitmaps)
        return false;
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.rgb.size() != static_cast<std::size_t>(pixels.width) * pixels.height * 3)
        return false;
    images()[image] = pixels;
    return true;
}

bool copyBitmapImage(int source, int target, int x, int y, int width, int height)
{
    const Image* found = findImage(source);
    const auto* from = found ? std::get_if<RgbPixels>(found) : nullptr;
    if (!from || x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > from->width || y + height > from->height)
        return false;
    RgbPixels cut{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    for (int row = 0; row < height; ++row)
        std::memcpy(cut.rgb.data() + static_cast<std::size_t>(row) * width * 3,
                    from->rgb.data() + (static_cast<std::size_t>(y + row) * from->width + x) * 3,
                    static_cast<std::size_t>(width) * 3);
    images()[target] = std::move(cut);
    return true;
}

void releaseImage(int image)
{
    images().erase(image);
}

bool hasImage(int image)
{
    return findImage(image) != nullptr;
}

int imageWidth(int image)
{
    const Image* found = findImage(image);
    return found ? sizeOf(*found).width : 0;
}

int imageHeight(int image)
{
    const Image* found = findImage(image);
    return found ? sizeOf(*found).height : 0;
}

void setControlImage(int control, int image)
{
    auto* c = fake::mutableControl(control);
    if (!c)
        return;
    const Image* found = findImage(image);
    // What the control shows: no picture for a number that names no image.
    c->image = found ? image : 0;
    if (found) {
        c->rect.width = sizeOf(*found).width;
        c->rect.height = sizeOf(*found).height;
    }
}

namespace fake {

void failBitmapImages(bool fail)
{
    g_failBitmaps = fail;
}

void resetImages()
{
    images().clear();
}

const RgbPixels* bitmapPixels(int image)
{
    const Image* found = findImage(image);
    return found ? std::get_if<RgbPixels>(found) : nullptr;
}

bool isIconImage(int image)
{
    const Image* found = findImage(image);
    return found && std::holds_alternative<Icon>(*found);
}

}  // namespace fake
}  // namespace tellurix::platform
