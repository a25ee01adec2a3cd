#pragma once

namespace tellurix {

// One poll: true when left Ctrl, left Shift and S are all held right now.
bool hotkeyHeld();
// The watcher thread's entry: polls every 100 ms and hands each hit to the GUI thread.
void hotkeyWatcher(int unused);
// Starts the watcher thread. False when the thread cannot start (no hotkey then).
bool startHotkeyWatcher();

}  // namespace tellurix
