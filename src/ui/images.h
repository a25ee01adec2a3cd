#pragma once

#include <cstdint>
#include <span>

// The program's pictures by number: icons 1 to 8, design backgrounds 100 to 113
// and design previews 200 to 213. Every other number names no image.
namespace tellurix {

inline constexpr int kFirstIcon = 1;
inline constexpr int kLastIcon = 8;
inline constexpr int kFirstBackground = 100;
inline constexpr int kLastBackground = 113;
inline constexpr int kFirstPreview = 200;
inline constexpr int kLastPreview = 213;

// The preview of a design is this rectangle of its background.
inline constexpr int kPreviewX = 120;
inline constexpr int kPreviewY = 10;
inline constexpr int kPreviewWidth = 200;
inline constexpr int kPreviewHeight = 20;

// Decodes the embedded icons (images 1 to 8) and backgrounds (100 to 113).
void loadEmbeddedImages();
// Cuts the design previews (200 to 213) out of the backgrounds.
void derivePreviews();

// Decodes one picture file into the image with that number: an .ico file for
// an icon number, a PNG file for a background number. False, and no image, for
// any other number and for a damaged file.
bool loadImage(int image, std::span<const std::uint8_t> file);

}  // namespace tellurix
