// The design backgrounds: vertical gradients with uniform rows, so that a
// pattern brush can tile them sideways without a seam.
#include "render.h"

#include <array>
#include <cmath>

namespace tellurix::assets {

namespace {

struct Gradient {
    Rgb top;
    Rgb bottom;
};

// Each bottom channel is about half its top: the bar darkens downwards.
constexpr std::array<Gradient, 14> kDesigns{{
    {{0xFF, 0x00, 0x00}, {0x88, 0x00, 0x00}},  // red
    {{0xFF, 0x6A, 0x00}, {0x7F, 0x33, 0x00}},  // orange
    {{0xFF, 0xD8, 0x00}, {0x86, 0x70, 0x00}},  // yellow
    {{0xB6, 0xFF, 0x00}, {0x5B, 0x7F, 0x00}},  // yellow-green
    {{0x4C, 0xFF, 0x00}, {0x26, 0x7F, 0x00}},  // green
    {{0x00, 0xFF, 0x90}, {0x00, 0x83, 0x48}},  // spring green
    {{0x00, 0xFF, 0xFF}, {0x00, 0x82, 0x82}},  // cyan
    {{0x00, 0x94, 0xFF}, {0x00, 0x4E, 0x86}},  // azure
    {{0x00, 0x26, 0xFF}, {0x00, 0x13, 0x7F}},  // blue
    {{0x46, 0x00, 0xF8}, {0x22, 0x00, 0x85}},  // violet
    {{0xAE, 0x00, 0xF9}, {0x5B, 0x00, 0x85}},  // purple
    {{0xFF, 0x00, 0xDC}, {0x7F, 0x00, 0x6E}},  // magenta
    {{0xFF, 0x00, 0x6E}, {0x7F, 0x00, 0x37}},  // rose
    {{0x80, 0x80, 0x80}, {0x40, 0x40, 0x40}},  // grey
}};

uint8_t blend(uint8_t top, uint8_t bottom, int row, int lastRow)
{
    return static_cast<uint8_t>(std::lround(top + (bottom - top) * static_cast<double>(row) / lastRow));
}

}  // namespace

PixelsRgb renderBackground(int design)
{
    if (design < kFirstDesign || design > kLastDesign)
        return {};
    const Gradient& g = kDesigns[static_cast<size_t>(design - kFirstDesign)];

    PixelsRgb out;
    out.width = kBackgroundWidth;
    out.height = kBackgroundHeight;
    out.pixels.reserve(static_cast<size_t>(kBackgroundWidth) * kBackgroundHeight);
    const int lastRow = kBackgroundHeight - 1;
    for (int row = 0; row < kBackgroundHeight; ++row) {
        const Rgb c{blend(g.top.r, g.bottom.r, row, lastRow), blend(g.top.g, g.bottom.g, row, lastRow),
                    blend(g.top.b, g.bottom.b, row, lastRow)};
        out.pixels.insert(out.pixels.end(), kBackgroundWidth, c);
    }
    return out;
}

}  // namespace tellurix::assets
