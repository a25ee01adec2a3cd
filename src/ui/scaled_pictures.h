#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/images.h"
#include "formats/icon_directory.h"

// Pictures for a display scale: icons are drawn at 100, 150 and 200 %; other
// scales take the next larger drawing, shrunk with an area-averaging filter.
// The design backgrounds are vertical gradients, rebuilt at any height with
// their exact top and bottom colours.
namespace tellurix {

// The pixels of an entry of an .ico file: a 32-bit DIB or a PNG; nothing for
// other kinds.
std::optional<RgbaPixels> decodeIconEntry(std::span<const std::uint8_t> icoFile, const IconEntry& entry);
// Each target pixel is the average of the source area it covers (alpha-weighted).
RgbaPixels shrink(const RgbaPixels& source, int width, int height);
// The gradient from the first row's colour to the last row's, linear between,
// at another size.
RgbPixels gradientAt(const RgbPixels& background, int width, int height);

}  // namespace tellurix
