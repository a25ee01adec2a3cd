#include "platform/win32/window_extensions.h"

namespace tellurix::platform::win32 {

bool handleTrayMessage(HWND /*window*/, UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/, LRESULT& /*answer*/)
{
    return false;
}

}  // namespace tellurix::platform::win32
