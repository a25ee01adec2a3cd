#pragma once

#include <windows.h>

// Functions of Windows' own DLLs that only newer versions have: looked up at
// run time, so that the program imports nothing older systems lack.
namespace tellurix::platform::win32 {

// The function `name` of the loaded DLL `module`, or null when it has none.
template <typename Function>
Function systemFunction(const wchar_t* module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(module), name)));
}

}  // namespace tellurix::platform::win32
