#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "core/entry.h"
#include "platform/win32/system_function.h"

#if defined(__GLIBCXX__)
// A GUI program has no console to print a dying exception's name on: without
// this, libstdc++'s verbose handler brings its whole name demangler (some
// 30 KB) into the program for nothing.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // Every DLL loaded from here on comes from the system folder, never from
    // the program's folder or the current one. The function exists from
    // Windows 8 on, and on Windows 7 with update KB2533623; without it (or
    // should it fail) the system's usual search stays, and the program still
    // names its own DLLs by their full path.
    using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    if (const auto setSearch = tellurix::platform::win32::systemFunction<SetDefaultDllDirectories>(
            L"kernel32.dll", "SetDefaultDllDirectories"))
        setSearch(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Balloon tips need the common controls loaded before the first window.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    tellurix::run();
}
