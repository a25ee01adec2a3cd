#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "core/entry.h"

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
    // Balloon tips need the common controls loaded before the first window.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    tellurix::run();
}
