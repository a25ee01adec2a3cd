#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "formats/pixels.h"

namespace tellurix {

// Decodes a PNG file held in memory into opaque 8-bit RGB pixels. Palette and
// grey images are expanded, 16-bit channels cut to 8 and alpha dropped.
// Nothing when the bytes are no PNG or the file is damaged anywhere.
std::optional<RgbPixels> decodePng(std::span<const std::uint8_t> file);
// The same with the alpha channel kept (opaque where the file has none).
std::optional<RgbaPixels> decodePngWithAlpha(std::span<const std::uint8_t> file);
// True when the bytes begin with the PNG signature.
bool isPng(std::span<const std::uint8_t> file);

}  // namespace tellurix
