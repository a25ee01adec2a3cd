#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels as the program's pictures hold them.
namespace tellurix {

// Opaque 24-bit pixels, rows top-down, 3 bytes (R, G, B) a pixel.
struct RgbPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    friend bool operator==(const RgbPixels&, const RgbPixels&) = default;
};

// Straight (not premultiplied) alpha, rows top-down, 4 bytes (R, G, B, A) a pixel.
struct RgbaPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    friend bool operator==(const RgbaPixels&, const RgbaPixels&) = default;
};

// `pixels` pixels of `channels` bytes (3 or 4) from R, G, B order to B, G, R
// order (a DIB's) or back, the same swap either way; a fourth byte (alpha)
// stays where it is.
void swapRedAndBlue(const std::uint8_t* from, std::uint8_t* to, std::size_t pixels, int channels);

}  // namespace tellurix
