#pragma once

// What the GUI thread's queue carries to the program: events by kind and
// number, and the keys a control hands to the program.
namespace tellurix::platform {

enum class EventKind {
    None,        // a message with no action attached
    Control,     // number = control number
    Menu,        // number = menu item (1 = Return shortcut)
    Tray,        // number = tray icon
    Close,       // number = window number
    BringUp,     // number = window number: another thread or program asks for it in front
    DpiChanged,  // number = window number: it moved to a monitor of another scale (already resized)
    Key,         // number = control that had the focus; the key in Event::key
    Ended,       // the queue can be read no more (or the system asks the program to end)
    Timer,       // number = timer (platform/clock.h): its time has come
    HttpDone,    // number = request (platform/http.h): its result is ready
    Posted,      // number = what the program posted (postEvent)
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

// Blocks until the GUI thread's next message and returns the event it carried.
Event waitEvent();
// An event of kind Posted with this number comes back from waitEvent after
// everything already in the GUI thread's queue, the user's keys among them:
// work that can wait until what the user sees now is done.
void postEvent(int number);
// Called on the GUI thread, with `context`, when the Windows session ends
// (log-off, shut-down), before the process is ended from outside.
void setSessionEndHandler(void (*handler)(void* context), void* context);

}  // namespace tellurix::platform
