// Pictures of the program, drawn from code: the small button and tray icons
// and the gradient backgrounds of the designs, plus the encoders that turn
// them into the ICO and PNG files embedded in the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace tellurix::assets {

struct Rgba {
    uint8_t r, g, b, a;
};

struct Rgb {
    uint8_t r, g, b;
};

// Straight (not premultiplied) alpha, rows top-down.
struct PixelsRgba {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct PixelsRgb {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    const Rgb& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline constexpr int kFirstIcon = 1;
inline constexpr int kLastIcon = 8;
inline constexpr int kFirstDesign = 1;
inline constexpr int kLastDesign = 14;
inline constexpr int kBackgroundWidth = 390;
inline constexpr int kBackgroundHeight = 40;

// The size at which the program shows icon `image` (1..8), or 0 if there is no such icon.
int iconSize(int image);

// Icon `image` (1..8) drawn anti-aliased at size x size pixels. Empty for an
// unknown image or a size outside 8..256.
PixelsRgba renderIcon(int image, int size);

// The 390x40 vertical gradient of design 1..14. Empty for an unknown design.
PixelsRgb renderBackground(int design);

// An ICO file with one 32-bit DIB entry per picture, in the given order.
// Empty if there are no entries or one is empty or larger than 256 pixels.
std::vector<uint8_t> encodeIco(const std::vector<PixelsRgba>& entries);

// An 8-bit RGB PNG with sRGB, gAMA and pHYs (96 dpi) chunks. Empty on failure.
std::vector<uint8_t> encodePng(const PixelsRgb& image);

// Writes every picture the program embeds below `folder`: icons/image1.ico
// to image8.ico, app.ico and backgrounds/background100.png to
// background113.png. False if any of them could not be made or written.
bool writeAssets(const std::filesystem::path& folder);

}  // namespace tellurix::assets
