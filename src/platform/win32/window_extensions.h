#pragma once

#include <windows.h>

namespace tellurix::platform::win32 {

// Messages handled by the presentation's parts of the toolkit (colour hook,
// owner-drawn menu, tray re-registration). True when the message was answered.
bool handleExtensionMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer);

}  // namespace tellurix::platform::win32
