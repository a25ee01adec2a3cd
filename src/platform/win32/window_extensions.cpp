#include "platform/win32/window_extensions.h"

namespace tellurix::platform::win32 {

bool handleExtensionMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer)
{
    return handleColourMessage(window, message, wparam, lparam, answer) ||
           handleTrayMessage(window, message, wparam, lparam, answer) ||
           handleHttpMessage(window, message, wparam, lparam, answer);
}

}  // namespace tellurix::platform::win32
