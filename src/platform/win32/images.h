#pragma once

#include <windows.h>

namespace tellurix::platform::win32 {

// Handles behind image numbers, for the brushes and the tray icon. Null when the
// number names no image.
HICON iconHandle(int image);
HBITMAP bitmapHandle(int image);

}  // namespace tellurix::platform::win32
