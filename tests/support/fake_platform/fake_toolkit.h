#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <optional>

#include "platform/keyboard.h"
#include "platform/controls.h"
#include "platform/windows.h"

// The in-memory platform that the unit tests link instead of Win32. Tests drive
// it through these functions and read back what the program did.
namespace tellurix::platform::fake {

struct WindowState {
    WindowKind kind = WindowKind::MainBar;
    std::string title;
    Rect outer;
    bool visible = false;
    bool topmost = false;
    bool enabled = true;
};

struct ControlState {
    int window = 0;
    ControlKind kind = ControlKind::SiteLabel;
    Rect rect;
    std::string text;
    bool visible = true;
    bool enabled = true;
    int font = 0;
    int image = 0;
    std::vector<std::string> items;
    int selection = -1;
    std::vector<KeyPress> takenKeys;
    bool takesCharacters = false;
    bool caretAtEnd = false;
};

// Thrown by exitProcess so that a test can watch the program end.
struct ProcessExit {
    int code;
};
// Thrown by waitEvent when the test has queued no more events.
struct NoMoreEvents {};

// A fresh process: forgets windows, controls, events, the tray, images and
// brushes. The environment, injected faults and shell folders stay.
void reset();

// Everything the program asked of the toolkit, one line per call, in order
// (e.g. "createWindow 0", "createControl 3", "hideWindow 0").
const std::vector<std::string>& callLog();
void clearCallLog();

const WindowState* window(int number);
const ControlState* control(int number);
ControlState* mutableControl(int number);

void queueEvent(const Event& event);
void setScreenSize(Size size);
// The primary monitor's DPI, and a window's own (it follows the primary's until set).
void setScreenDpi(int dpi);
void setWindowDpi(int window, int dpi);
// Monitors by their work areas, the primary first.
void setMonitors(const std::vector<Rect>& workAreas);
// The DPI a font was last made for (0: never made).
int fontDpi(int font);
void failWindowCreation(int window, bool fail);
// Simulates the user or the platform moving the foreground.
void setForeground(int window);
void setFocusedControl(int control);
// The text the user typed into a control.
void typeText(int control, const std::string& text);
void selectListItem(int control, int index);
// The user presses a key in the focused control: an event when the control
// takes it (takeKeys), else nothing. True when it became an event.
bool pressKey(const KeyPress& key);
// Lists show this many items at once, each this many pixels high.
inline constexpr int kVisibleListItems = 10;
inline constexpr int kListItemHeight = 16;

// The clock and the timers: the test sets the time; a timer started is due at
// a time, and the test lets it come with fireTimer.
void setClock(std::int64_t milliseconds);
// When the timer is due, or -1 when it is not running.
std::int64_t timerDue(int timer);
// The timer's event, if the timer runs and its time has come: then queued; true.
bool fireTimer(int timer);

// The keyboard: a key held or released without the hook seeing it.
void setKeyDown(int virtualKey, bool down);
// The system refuses the keyboard hook from now on (until reset).
void refuseKeyboardHook(bool refuse);
bool keyboardHookInstalled();
// How often the hook was installed (at the start and again).
int keyboardHookInstalls();
// Windows removes the hook without a word, as after a hook that answered too slowly.
void loseKeyboardHook();
// A key stroke on the desktop: the hook's filter sees it first; unless the
// filter keeps it, the key's state follows it, and a press is told to the
// program as one the system saw. Pass when there is no hook.
KeyVerdict strokeKey(int virtualKey, bool down, unsigned int time = 0);
// A window comes to the front; `elevated`: its program runs as administrator.
void bringToFront(bool elevated);
// The chord registered with Windows, if any.
std::optional<HotkeyChord> registeredChord();
// The registered chord is pressed: told to the program when one is registered.
void pressRegisteredChord();
// A full-screen game or presentation is in front (or not).
void setFullScreenInFront(bool fullScreen);
// How often the neutral key was pressed.
int neutralKeyPresses();
int bringUpRequests();
bool threadStarted();

std::vector<std::string> launchedUrls();
// The next `count` web addresses find no browser (the shell refuses them).
void refuseNextLaunches(int count);
// Creating this control fails (until reset).
void failControlCreation(int control);
// No thread can be started (until reset).
void failThreads();
int messageBoxesShown();
// How the user answers the next yes/no questions (default: yes).
void answerQuestions(bool yes);
int questionsAsked();
std::string lastMessageBoxTitle();
std::string lastMessageBoxText();

struct BalloonTip {
    std::string title;
    std::string text;
    int icon = 0;
};
// The tip bound to a control, or null.
const BalloonTip* balloonTip(int control);
// The Windows session ends: the program's handler runs. False when it set none.
bool endSession();

}  // namespace tellurix::platform::fake
