#pragma once

// The end of the program's process.
namespace tellurix::platform {

// Releases every window (the main window last), control, font, shortcut,
// image, brush and menu still held.
void releaseAll();
[[noreturn]] void exitProcess(int code);

}  // namespace tellurix::platform
