#pragma once

// Threads, keys and the hand-over of the hotkey to the GUI thread.
namespace tellurix::platform {

inline constexpr int kVkLeftShift = 0xA0;
inline constexpr int kVkLeftControl = 0xA2;
inline constexpr int kVkS = 0x53;

using ThreadEntry = void (*)(int argument);

// Starts a thread at the platform's default priority. False when it cannot start.
bool startThread(ThreadEntry entry, int argument);
// Forgets the thread handle without stopping or joining the thread.
void releaseThread();
void sleepMilliseconds(int milliseconds);
// True while the key is held down at this moment.
bool isKeyDown(int virtualKey);

// Asks the GUI thread to show, activate and foreground the main window (the
// MainBar window). Safe to call from any thread; does nothing once
// `beginShutdown` has run.
void requestBringUp();
void beginShutdown();
bool isShuttingDown();

// One copy of the program at a time. True when this process is the only one.
bool claimSingleInstance();
// Asks the copy that runs already to bring up its main window.
void bringUpRunningInstance();

}  // namespace tellurix::platform
