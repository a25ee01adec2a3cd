#pragma once

// Threads and the hand-over of the hotkey to the GUI thread.
namespace tellurix::platform {

using ThreadEntry = void (*)(void* context);

// Starts a thread at the platform's default priority. False when it cannot start.
[[nodiscard]] bool startThread(ThreadEntry entry, void* context);
// Forgets the thread handle without stopping or joining the thread.
void releaseThread();
void sleepMilliseconds(int milliseconds);

// Asks the GUI thread to show, activate and foreground the main window (the
// MainBar window). Safe to call from any thread; does nothing once
// `beginShutdown` has run.
void requestBringUp();
void beginShutdown();
bool isShuttingDown();

// One copy of the program at a time. True when this process is the only one.
[[nodiscard]] bool claimSingleInstance();
// Asks the copy that runs already to bring up its main window. False when no
// copy showed a window within a few seconds (one that was just ending).
[[nodiscard]] bool bringUpRunningInstance();

}  // namespace tellurix::platform
