#pragma once

#include <windows.h>

namespace tellurix::platform::win32 {

// Handles behind image numbers, for the brushes and the tray icon. Null when the
// number names no image of that kind.
HICON iconHandle(int image);
HBITMAP bitmapHandle(int image);
// The brush behind a brush number (designs.cpp); null for kNoBrush and for
// numbers that name no live brush.
HBRUSH brushHandle(int brush);

}  // namespace tellurix::platform::win32
