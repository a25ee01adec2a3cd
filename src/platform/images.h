#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Images by number: decoded once at start-up, kept until the process ends. A
// number under which no image was registered names no image: it has no handle,
// no size, and a control given it shows no picture.
namespace tellurix::platform {

// Opaque 24-bit pixels, rows top-down, 3 bytes (R, G, B) a pixel.
struct RgbPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    friend bool operator==(const RgbPixels&, const RgbPixels&) = default;
};

// Registers an icon image (alpha kept) from the bytes of an .ico file with one
// entry. False, and no image, when the file is not such an icon.
bool createIconImage(int image, std::span<const std::uint8_t> icoFile);
// Registers a 24-bit bitmap image. False when the pixels do not fill the size.
bool createBitmapImage(int image, const RgbPixels& pixels);
// Copies a rectangle of a bitmap image into a new bitmap image. False when the
// source is no bitmap or the rectangle does not lie inside it.
bool copyBitmapImage(int source, int target, int x, int y, int width, int height);
bool hasImage(int image);
// Size of an image (zero for a number that names none).
int imageWidth(int image);
int imageHeight(int image);
// Shows an image in an image button or image control; the control takes its
// size. A number that names no image leaves the control without a picture.
void setControlImage(int control, int image);

// The one picture of an .ico file: where its data lies and how large it is.
struct IconEntry {
    int width = 0;
    int height = 0;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// Reads the directory of an .ico file (6-byte header, 16-byte entries) and
// returns its first entry, or nothing when the directory is damaged or the
// entry's data does not lie inside the file.
inline std::optional<IconEntry> readIconDirectory(std::span<const std::uint8_t> icoFile)
{
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (icoFile.size() < kHeader + kEntry)
        return std::nullopt;
    auto u16 = [&](std::size_t at) { return static_cast<unsigned>(icoFile[at] | icoFile[at + 1] << 8); };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
    };
    // Reserved 0, type 1 (icon), at least one entry.
    if (u16(0) != 0 || u16(2) != 1 || u16(4) == 0)
        return std::nullopt;
    IconEntry entry;
    entry.width = icoFile[kHeader] == 0 ? 256 : icoFile[kHeader];
    entry.height = icoFile[kHeader + 1] == 0 ? 256 : icoFile[kHeader + 1];
    entry.size = u32(kHeader + 8);
    entry.offset = u32(kHeader + 12);
    if (entry.size == 0 || entry.offset > icoFile.size() || entry.size > icoFile.size() - entry.offset)
        return std::nullopt;
    return entry;
}

}  // namespace tellurix::platform
