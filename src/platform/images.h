#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "formats/pixels.h"

// Images by number: decoded once at start-up, kept until the process ends. A
// number under which no image was registered names no image: it has no handle,
// no size, and a control given it shows no picture.
namespace tellurix::platform {

// Registers an icon image (alpha kept) from the entry of an .ico file that is
// `size` pixels wide. False, and no image, when the file has no such entry.
[[nodiscard]] bool createIconImage(int image, std::span<const std::uint8_t> icoFile, int size);
// Registers an icon image from pixels. False when they do not fill the size.
[[nodiscard]] bool createIconFromPixels(int image, const RgbaPixels& pixels);
// Registers an icon resource of the program's file as an icon image at the size
// the shell shows small icons, the system choosing from the resource's sizes.
[[nodiscard]] bool createShellIconImage(int image, int resource);
// Registers a 24-bit bitmap image. False when the pixels do not fill the size.
[[nodiscard]] bool createBitmapImage(int image, const RgbPixels& pixels);
// Copies a rectangle of a bitmap image into a new bitmap image. False when the
// source is no bitmap or the rectangle does not lie inside it.
[[nodiscard]] bool copyBitmapImage(int source, int target, int x, int y, int width, int height);
bool hasImage(int image);
// Frees an image; a number that names none is ignored.
void releaseImage(int image);
// Size of an image (zero for a number that names none).
int imageWidth(int image);
int imageHeight(int image);
// Shows an image in an image button or image control; the control takes its
// size. A number that names no image leaves the control without a picture.
void setControlImage(int control, int image);

}  // namespace tellurix::platform
