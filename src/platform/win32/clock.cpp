#include <windows.h>

#include "platform/clock.h"
#include "platform/win32/toolkit_state.h"

namespace tellurix::platform {

std::int64_t steadyMilliseconds()
{
    return static_cast<std::int64_t>(::GetTickCount64());
}

// Timers belong to the main window; its procedure stops each one as it comes,
// so a timer comes once.
void startTimer(int timer, int milliseconds)
{
    if (HWND main = win32::mainWindowHandle())
        ::SetTimer(main, static_cast<UINT_PTR>(timer), static_cast<UINT>(milliseconds > 0 ? milliseconds : 0), nullptr);
}

void stopTimer(int timer)
{
    if (HWND main = win32::mainWindowHandle())
        ::KillTimer(main, static_cast<UINT_PTR>(timer));
}

}  // namespace tellurix::platform
