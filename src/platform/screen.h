#pragma once

#include "platform/geometry.h"

// The screen, its monitors and the mouse.
namespace tellurix::platform {

Size screenSize();
// The DPI of the primary monitor (96 at 100 % display scale).
int screenDpi();
// The work area (the monitor without the taskbar) of the monitor at a point,
// or of the nearest one; and that of the monitor a window is on.
Rect workAreaAt(Point at);
Rect workAreaOf(int window);
// The mouse position in screen coordinates.
Point cursorPosition();

}  // namespace tellurix::platform
