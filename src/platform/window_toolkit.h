#pragma once

#include <span>
#include <string>
#include <string_view>

// The window toolkit: windows, controls, fonts, keyboard shortcuts and events,
// all addressed by small numbers that the caller chooses. Texts are UTF-8. The
// Windows implementation lives in platform/win32; the unit tests link an
// in-memory one.
namespace tellurix::platform {

// No window has the number -1.
inline constexpr int kNoWindow = -1;
// No control has the number 0.
inline constexpr int kNoControl = 0;

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The first window of kind MainBar is the program's main window: it owns the
// other windows, answers the requests of other threads and other copies of the
// program, and behaves like a dialog (the focus comes back to where it was,
// Escape asks it to close).
enum class WindowKind {
    MainBar,      // caption with system menu and close box, fixed size
    Popup,        // no caption, no border, owned by the main window
    ToolDialog,   // caption without system menu, owned by the main window
};

enum class ControlKind {
    SiteLabel,    // static text, centred both ways, reports clicks
    SearchField,  // one-line edit without border, scrolls sideways
    ImageButton,  // picture that reports clicks, takes no focus
    ListBox,      // unsorted list with notifications and a vertical scroll bar
    PushButton,
    ImageControl, // picture that sizes itself to its image
};

enum class EventKind {
    None,     // a message with no action attached
    Control,  // number = control number
    Menu,     // number = menu item (1 = Return shortcut)
    Tray,     // number = tray icon
    Close,    // number = window number
    BringUp,  // number = window number: another thread or program asks for it in front
    DpiChanged,  // number = window number: it moved to a monitor of another scale (already resized)
    Key,      // number = control that had the focus; the key in Event::key
    HttpDone, // number = request (platform/http.h): its result is ready
};

enum class EventSubtype {
    None,
    LeftClick,
    DoubleClick,
    FocusGained,
    FocusLost,
    SelectionChanged,
    LeftPress,
    RightPress,
    LeftDoubleClick,
    RightDoubleClick,
    TextChanged,
    Other,
};

// Keys a control can hand to the program instead of handling them itself.
enum class Key { None, Up, Down, PageUp, PageDown, Home, End, Return, Escape, Delete, F4, Character };

struct KeyPress {
    Key key = Key::None;
    bool alt = false;
    bool shift = false;
    bool control = false;
    char32_t character = 0;  // Key::Character only: the character typed

    friend bool operator==(const KeyPress&, const KeyPress&) = default;
};

struct Event {
    EventKind kind = EventKind::None;
    int number = 0;
    EventSubtype subtype = EventSubtype::None;
    KeyPress key;  // EventKind::Key only

    friend bool operator==(const Event&, const Event&) = default;
};

// --- Screen ---------------------------------------------------------------
Size screenSize();
// The DPI of the primary monitor (96 at 100 % display scale).
int screenDpi();
// Outer size of a window of the given kind around a client area, at a DPI.
Size outerSize(WindowKind kind, Size client, int dpi);
// The work area (the monitor without the taskbar) of the monitor at a point,
// or of the nearest one; and that of the monitor a window is on.
Rect workAreaAt(Point at);
Rect workAreaOf(int window);
// The mouse position in screen coordinates.
Point cursorPosition();

// --- Windows ----------------------------------------------------------------
// Creates a hidden window at an outer rectangle in screen coordinates.
bool createWindow(int window, WindowKind kind, std::string_view title, Rect outer);
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
void hideWindow(int window);
bool isWindowVisible(int window);
void setTopmost(int window, bool topmost);
bool isTopmost(int window);
void setForegroundWindow(int window);
// The program's window that is in the foreground, or kNoWindow.
int foregroundWindow();
void enableWindow(int window, bool enable);
bool isWindowEnabled(int window);
// Repaints the whole client area, background erased.
void invalidateWindow(int window);

// --- Controls ---------------------------------------------------------------
bool createControl(int window, int control, ControlKind kind, Rect rect, std::string_view text);
void setControlText(int control, std::string_view text);
std::string controlText(int control);
void showControl(int control, bool show);
bool isControlVisible(int control);
void enableControl(int control, bool enable);
bool isControlEnabled(int control);
Rect controlScreenRect(int control);
// Moves a control within its window (client coordinates).
void moveControl(int control, Rect rect);
// Size the control has now (image controls size themselves to their picture).
Size controlSize(int control);
void setFocus(int control);
// The program's control with the keyboard focus, or kNoControl.
int focusedControl();
// From now on these key presses (exactly these modifiers) in the control are
// events of the program's and no longer reach the control; with `characters`
// every typed character does so too. Replaces what the control took before.
void takeKeys(int control, std::span<const KeyPress> keys, bool characters);
// Puts the caret after the last character of an edit control.
void setCaretToEnd(int control);
void listAppend(int control, std::string_view text);
int listCount(int control);
int listSelection(int control);  // -1 when nothing is selected
// Selects an item and scrolls it into view, without a selection event.
void setListSelection(int control, int index);
// How many items the list shows at once (at least 1).
int listVisibleItems(int control);
std::string listItemText(int control, int index);

// --- Fonts and shortcuts ----------------------------------------------------
// A font of the default face, in points at a DPI, of the given weight
// (replacing one of that number).
bool createFont(int font, int points, int weight, int dpi);
void setControlFont(int control, int font);
// Return without modifiers on `window` raises menu event `menuItem`.
void registerReturnShortcut(int window, int menuItem);

// --- Events -----------------------------------------------------------------
// Blocks until the GUI thread's next message and returns the event it carried.
Event waitEvent();
// Called on the GUI thread when the Windows session ends (log-off, shut-down),
// before the process is ended from outside.
void setSessionEndHandler(void (*handler)());

// --- Process ----------------------------------------------------------------
// Releases every window (the main window last), control, font, shortcut,
// image, brush and menu still held.
void releaseAll();
[[noreturn]] void exitProcess(int code);

}  // namespace tellurix::platform
