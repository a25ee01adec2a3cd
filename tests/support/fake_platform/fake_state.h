#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake_platform/fake_http.h"
#include "fake_platform/fake_toolkit.h"
#include "platform/keyboard.h"
#include "platform/controls.h"
#include "platform/screen.h"
#include "platform/windows.h"

// What the in-memory toolkit keeps between calls, shared by its files.
namespace tellurix::platform::fake::internal {

struct Toolkit {
    std::map<int, WindowState> windows;
    std::map<int, ControlState> controls;
    std::set<int> failingWindows;
    std::set<int> fonts;
    std::deque<Event> events;
    std::vector<std::string> log;
    Size screen{1280, 800};
    int screenDpi = 96;
    std::map<int, int> windowDpis;
    std::vector<Rect> workAreas;  // empty: one monitor, the screen
    std::map<int, int> fontDpis;
    int mainWindow = kNoWindow;  // the first MainBar window
    int foreground = kNoWindow;
    int focus = kNoControl;
    std::set<int> keysDown;
    bool refuseKeyboardHook = false;
    KeyboardWatch keyboard;         // stroke is null while no hook was installed
    bool keyboardHookLost = false;  // Windows removed it
    int hookInstalls = 0;
    std::optional<HotkeyChord> registeredChord;
    bool fullScreen = false;
    int neutralKeys = 0;
    int bringUps = 0;
    bool threadRunning = false;
    bool shuttingDown = false;
    std::vector<std::string> urls;
    int refusedLaunches = 0;
    std::int64_t clock = 0;
    std::map<int, std::int64_t> timers;  // due at
    std::set<int> failingControls;
    bool failThreads = false;
    int boxes = 0;
    bool answerYes = true;
    int questions = 0;
    std::string boxTitle;
    std::string boxText;
    std::map<int, BalloonTip> tips;
    void (*onSessionEnd)(void*) = nullptr;
    void* sessionEndContext = nullptr;
    std::vector<fake::HttpCall> httpCalls;
    std::map<int, HttpResult> httpResults;  // finished, not taken
    bool refuseHttp = false;
};

Toolkit& kit();
// One line of the call log: "what number".
void record(const std::string& what, int number);
WindowState* findWindow(int number);
ControlState* findControl(int number);
// Moves the keyboard focus, raising the focus events a real edit control raises.
void moveFocus(int control);

}  // namespace tellurix::platform::fake::internal
