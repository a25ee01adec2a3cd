#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/controls.h"
#include "platform/windows.h"

// What the Win32 toolkit keeps between calls: the handles behind the caller's
// window, control and font numbers, and the events recorded by the window
// procedure until the event loop asks for them.
namespace tellurix::platform::win32 {

inline constexpr UINT kBringUpMessage = WM_APP + 1;
inline constexpr UINT kPostedEventMessage = WM_APP + 3;  // wparam: the event's number
inline constexpr UINT kHttpDoneMessage = WM_APP + 2;     // wparam: request number
inline constexpr UINT kTrayCallbackMessage = 0x30D5;
inline constexpr wchar_t kMainWindowClass[] = L"TellurixMainWindow";
inline constexpr wchar_t kOwnedWindowClass[] = L"TellurixWindow";

struct AcceleratorDeleter {
    static void close(HACCEL table) noexcept { ::DestroyAcceleratorTable(table); }
};
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorDeleter>;

struct ControlRecord {
    HWND handle = nullptr;  // destroyed with its window
    int window = 0;
    ControlKind kind = ControlKind::SiteLabel;
    // Key presses the program takes from the control (takeKeys).
    std::vector<KeyPress> takenKeys;
    bool takesCharacters = false;
    int font = 0;  // the program's font number, 0: the dialog font
};

struct ToolkitState {
    std::map<int, UniqueWindow> windows;
    std::map<int, ControlRecord> controls;
    std::map<int, UniqueFont> fonts;
    // The dialog font at DPIs other than the system's, by DPI.
    std::map<int, UniqueFont> guiFonts;
    // The number of the main window (the first MainBar window), or kNoWindow.
    int mainWindow = kNoWindow;
    UniqueAccelerators accelerators;
    int acceleratorWindow = kNoWindow;
    std::deque<Event> events;
    HWND lastFocusInMain = nullptr;
    void (*sessionEndHandler)(void*) = nullptr;
    void* sessionEndContext = nullptr;
    bool sessionEndHandled = false;
};

ToolkitState& state();
HINSTANCE instance();

// The main window's handle for other threads (null once shutdown has begun).
extern std::atomic<HWND> g_mainWindowForThreads;
extern std::atomic<bool> g_shuttingDown;

HWND windowHandle(int window);
// The main window's handle, or null.
HWND mainWindowHandle();
HWND controlHandle(int control);
// Number of one of our windows, or kNoWindow.
int windowNumber(HWND handle);
// Shows a window and makes it the active, foreground window, also when
// another program has the foreground (the hotkey and the tray are used while
// the user works elsewhere). Only for windows that are meant to be shown.
void bringToFront(HWND window);
// Number of one of our controls, or kNoControl.
int controlNumber(HWND handle);
void recordEvent(const Event& event);
// The dialog font (DEFAULT_GUI_FONT) at a DPI.
HFONT guiFont(int dpi);

// Registers the window classes; called once before the first window.
bool registerWindowClasses();

// The parts of releaseAll that live beside their own tables.
void releaseImages();
void releaseBrushes();
void releaseMenus();

}  // namespace tellurix::platform::win32
