#include "ui/scaled_pictures.h"

#include <algorithm>
#include <cmath>

#include "formats/png.h"

namespace tellurix {
namespace {

std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint8_t blend(int top, int bottom, int row, int lastRow)
{
    if (lastRow <= 0)
        return static_cast<std::uint8_t>(top);
    return static_cast<std::uint8_t>(std::lround(top + (bottom - top) * static_cast<double>(row) / lastRow));
}

}  // namespace

std::optional<RgbaPixels> decodeIconEntry(std::span<const std::uint8_t> icoFile, const IconEntry& entry)
{
    constexpr std::size_t kInfoHeader = 40;
    const auto data = icoFile.subspan(entry.offset, entry.size);
    // Larger drawings are kept as PNG files inside the icon file.
    if (isPng(data)) {
        auto pixels = decodePngWithAlpha(data);
        if (!pixels || pixels->width != entry.width || pixels->height != entry.height)
            return std::nullopt;
        return pixels;
    }
    if (data.size() < kInfoHeader || readU32(data, 0) != kInfoHeader)
        return std::nullopt;
    const auto width = static_cast<int>(readU32(data, 4));
    const auto height = static_cast<int>(readU32(data, 8)) / 2;  // colour and mask rows
    const int bits = data[14] | data[15] << 8;
    if (width != entry.width || height != entry.height || bits != 32 || readU32(data, 16) != 0)
        return std::nullopt;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    if (data.size() < kInfoHeader + rowBytes * static_cast<std::size_t>(height))
        return std::nullopt;
    RgbaPixels pixels{width, height, std::vector<std::uint8_t>(rowBytes * height)};
    for (int y = 0; y < height; ++y) {
        // Rows bottom-up, B, G, R, A.
        swapRedAndBlue(data.data() + kInfoHeader + rowBytes * static_cast<std::size_t>(height - 1 - y),
                       pixels.rgba.data() + rowBytes * static_cast<std::size_t>(y), static_cast<std::size_t>(width), 4);
    }
    return pixels;
}

RgbaPixels shrink(const RgbaPixels& source, int width, int height)
{
    RgbaPixels out{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    const double scaleX = static_cast<double>(source.width) / width;
    const double scaleY = static_cast<double>(source.height) / height;
    for (int ty = 0; ty < height; ++ty) {
        const double y0 = ty * scaleY, y1 = (ty + 1) * scaleY;
        for (int tx = 0; tx < width; ++tx) {
            const double x0 = tx * scaleX, x1 = (tx + 1) * scaleX;
            // Colours weighted by their alpha, so transparent pixels lend no colour.
            double sum[4] = {0, 0, 0, 0};
            for (int sy = static_cast<int>(y0); sy < std::min(source.height, static_cast<int>(std::ceil(y1))); ++sy) {
                const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
                for (int sx = static_cast<int>(x0); sx < std::min(source.width, static_cast<int>(std::ceil(x1)));
                     ++sx) {
                    const double weight = wy * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
                    const std::uint8_t* p = source.rgba.data() + (static_cast<std::size_t>(sy) * source.width + sx) * 4;
                    const double alpha = p[3] * weight;
                    sum[0] += p[0] * alpha;
                    sum[1] += p[1] * alpha;
                    sum[2] += p[2] * alpha;
                    sum[3] += alpha;
                }
            }
            std::uint8_t* o = out.rgba.data() + (static_cast<std::size_t>(ty) * width + tx) * 4;
            const double area = scaleX * scaleY;
            for (int c = 0; c < 3; ++c)
                o[c] = sum[3] > 0 ? static_cast<std::uint8_t>(std::lround(sum[c] / sum[3])) : 0;
            o[3] = static_cast<std::uint8_t>(std::lround(std::clamp(sum[3] / area, 0.0, 255.0)));
        }
    }
    return out;
}

RgbPixels gradientAt(const RgbPixels& background, int width, int height)
{
    RgbPixels out{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    if (background.width <= 0 || background.height <= 0)
        return out;
    const std::uint8_t* top = background.rgb.data();
    const std::uint8_t* bottom =
        background.rgb.data() + static_cast<std::size_t>(background.height - 1) * background.width * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t colour[3] = {blend(top[0], bottom[0], y, height - 1),
                                        blend(top[1], bottom[1], y, height - 1),
                                        blend(top[2], bottom[2], y, height - 1)};
        std::uint8_t* row = out.rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x)
            std::copy(colour, colour + 3, row + x * 3);
    }
    return out;
}

}  // namespace tellurix
