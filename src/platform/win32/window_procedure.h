#pragma once

#include <windows.h>

namespace tellurix::platform::win32 {

// The one window procedure of the program's windows: it turns the messages that
// carry actions into recorded events and answers the rest itself.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tellurix::platform::win32
