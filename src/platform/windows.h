#pragma once

#include <string_view>

#include "platform/geometry.h"

// Top-level windows, addressed by small numbers that the caller chooses.
// Texts are UTF-8.
namespace tellurix::platform {

// No window has the number -1.
inline constexpr int kNoWindow = -1;

// The first window of kind MainBar is the program's main window: it owns the
// other windows, answers the requests of other threads and other copies of the
// program, and behaves like a dialog (the focus comes back to where it was,
// Escape asks it to close).
enum class WindowKind {
    MainBar,     // caption with system menu and close box, fixed size
    Popup,       // no caption, no border, owned by the main window
    ToolDialog,  // caption without system menu, owned by the main window
    Dropdown,    // no caption, no border, owned by the main window, never activated:
                 // it hangs under a control while the keyboard stays where it is
};

// Outer size of a window of the given kind around a client area, at a DPI.
Size outerSize(WindowKind kind, Size client, int dpi);
// Creates a hidden window at an outer rectangle in screen coordinates.
[[nodiscard]] bool createWindow(int window, WindowKind kind, std::string_view title, Rect outer);
bool isWindowOpen(int window);
void closeWindow(int window);
// Outer rectangle in screen coordinates (zero when the window is not open).
Rect windowRect(int window);
void moveWindow(int window, Rect outer);
// The DPI of the monitor the window is on (what its sizes are scaled for).
int windowDpi(int window);
// Shows the window and makes it the active, foreground window, also when
// another program has the foreground.
void bringToFront(int window);
// Does ahead, while the window is hidden, what its first show would otherwise
// do on top of every later one (handing its icons to the window manager).
void prepareFirstShow(int window);
// Shows and activates the window in its current (normal, maximised or minimised) state.
void showWindow(int window);
// Shows the window where it stands without activating it: the keyboard focus
// stays where it is.
void showWindowWithoutActivating(int window);
void hideWindow(int window);
bool isWindowVisible(int window);
void setTopmost(int window, bool topmost);
void setForegroundWindow(int window);
// The program's window that is in the foreground, or kNoWindow.
int foregroundWindow();
void enableWindow(int window, bool enable);
// Repaints the whole client area, background erased.
void invalidateWindow(int window);

}  // namespace tellurix::platform
