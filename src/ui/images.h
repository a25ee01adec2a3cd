#pragma once

#include <cstdint>
#include <span>

#include "core/numbers.h"
#include "core/scale.h"

// The program's pictures by number (see core/numbers.h).
namespace tellurix {

// The preview of a design is this rectangle of its background.
inline constexpr int kPreviewX = 120;
inline constexpr int kPreviewY = 10;
inline constexpr int kPreviewWidth = 200;
inline constexpr int kPreviewHeight = 20;

// Decodes the bar's embedded icons (images 1 to 7) for a DPI (replacing those
// there are).
void loadIcons(int dpi = kBaseDpi);
// The tray's picture (image 8): the program's own icon.
void loadTrayImage();
// One design's background (number - 100) and preview (number), for a DPI.
// The program keeps only the pictures of the design it shows, and the
// previews of all while the design window is open.
void loadDesignPictures(int design, int dpi = kBaseDpi);
// Frees every design's background and preview except those of `keep`.
void releaseDesignPictures(int keep);
// Cuts a design's preview out of its background (the rectangle at 96 DPI
// scaled to `dpi`, as the background was); nothing without a background.
void cutPreview(int design, int dpi = kBaseDpi);

// Decodes one picture file into the image with that number, drawn for a DPI:
// an .ico file for an icon number, a PNG file for a background number. False,
// and no image, for any other number and for a damaged file.
bool loadImage(int image, std::span<const std::uint8_t> file, int dpi = kBaseDpi);

}  // namespace tellurix
