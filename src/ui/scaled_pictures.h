#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/images.h"
#include "platform/shared.h"

// Pictures for a display scale: icons are drawn at 100, 150 and 200 %; other
// scales take the next larger drawing, shrunk with an area-averaging filter.
// The design backgrounds are vertical gradients, rebuilt at any height with
// their exact top and bottom colours.
namespace tellurix {

// The pixels of an entry of an .ico file: a 32-bit DIB or a PNG; nothing for
// other kinds.
std::optional<platform::RgbaPixels> decodeIconEntry(std::span<const std::uint8_t> icoFile,
                                                    const platform::IconEntry& entry);
// Each target pixel is the average of the source area it covers (alpha-weighted).
platform::RgbaPixels shrink(const platform::RgbaPixels& source, int width, int height);
// The gradient from the first row's colour to the last row's, linear between,
// at another size.
platform::RgbPixels gradientAt(const platform::RgbPixels& background, int width, int height);

}  // namespace tellurix
