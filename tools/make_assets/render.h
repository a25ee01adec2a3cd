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

// The size at which the program shows icon `image` (1..8) at 100 % display
// scale, or 0 if there is no such icon.
int iconSize(int image);

// The display scales each icon file holds a picture drawn for, in file
// order. At any other scale Windows resizes the nearest of them.
inline constexpr int kIconScalesPercent[] = {100, 150, 200};

// The size of icon `image` at `percent` display scale: iconSize(image)
// scaled and rounded half up (22 px gives 33 at 150 and 28 at 125). 0 for an
// unknown image or a scale below 1 %.
int iconSizeAt(int image, int percent);

// Icon `image` (1..8) drawn anti-aliased at size x size pixels. Empty for an
// unknown image or a size outside 8..256.
PixelsRgba renderIcon(int image, int size);

// The 390x40 vertical gradient of design 1..14. Empty for an unknown design.
PixelsRgb renderBackground(int design);

// For encodeIco: every entry a DIB.
inline constexpr std::size_t kNoPngEntries = static_cast<std::size_t>(-1);

// The first entry of each icons/imageN.ico stored as PNG: the 150 % one.
inline constexpr std::size_t kFirstPngIconEntry = 1;

// An ICO file with one entry per picture, in the given order. Entries before
// index `firstPngEntry` are 32-bit BGRA DIBs, bottom-up, with their AND mask
// set where alpha is 0 (what every Windows version loads with its alpha).
// The entries from it on are PNG files as Windows Vista and later read them:
// 8-bit RGBA (colour type 6, straight alpha, not interlaced), no ancillary
// chunks, deflate level 9 with the row filters that give the fewest bytes;
// their directory entry reads as a DIB's would (no palette, 1 plane,
// 32 bits) with the PNG's own size and offset.
// Empty if there are no entries, one is empty or larger than 256 pixels, or
// a PNG entry could not be written.
std::vector<uint8_t> encodeIco(const std::vector<PixelsRgba>& entries, std::size_t firstPngEntry = kNoPngEntries);

// An 8-bit RGB PNG with sRGB, gAMA and pHYs (96 dpi) chunks. Empty on failure.
std::vector<uint8_t> encodePng(const PixelsRgb& image);

// Writes every picture the program embeds below `folder`: icons/image1.ico
// to image8.ico (one entry per kIconScalesPercent, in that order, the 100 %
// one a DIB and the larger ones PNG), app.ico (all DIB) and
// backgrounds/background100.png to background113.png. False if any of them
// could not be made or written.
bool writeAssets(const std::filesystem::path& folder);

}  // namespace tellurix::assets
