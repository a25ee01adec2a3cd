#pragma once

#include <optional>

#include "platform/designs.h"
#include "platform/images.h"

// The in-memory images, brushes, window backgrounds and colour rules, for tests.
namespace tellurix::platform::fake {

// Forgets every image, brush, background and colour rule.
void resetImages();
// While set, no bitmap image can be made.
void failBitmapImages(bool fail);
void resetDesigns();

// Pixels of a bitmap image; null for icons and numbers that name no image.
const RgbPixels* bitmapPixels(int image);
bool isIconImage(int image);

// The image a brush repeats; 0 when the brush is not (or no longer) alive.
int brushImage(int brush);
int liveBrushCount();
// The brush painting a window's background; kNoBrush while it is the default.
int windowBackground(int window);
// How the window of `control` answers its colour request, or nothing when the
// toolkit answers as it would without a colour hook.
std::optional<ControlColours> colourAnswer(ColourRequest request, int control);

}  // namespace tellurix::platform::fake
