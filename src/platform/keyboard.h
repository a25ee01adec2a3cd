#pragma once

#include "core/hotkey_chord.h"

// The keyboard as the whole desktop uses it: a hook that sees every key stroke
// before any program does and may keep one from the program in front, and the
// state of single keys. Keys are Windows' virtual-key codes.
namespace tellurix::platform {

struct KeyStroke {
    int virtualKey = 0;
    bool down = false;      // a press (or its auto-repeat); false: a release
    unsigned int time = 0;  // milliseconds on the system's clock of input events
};

enum class KeyVerdict {
    Pass,  // the stroke goes on to the program in front
    Keep,  // nobody else sees it
};

// What the keyboard's thread tells the program, each on that thread. Every one
// must answer within a few milliseconds: key presses wait for them.
struct KeyboardWatch {
    // Every key stroke the hook sees (not the program's own strokes).
    KeyVerdict (*stroke)(void* context, const KeyStroke& stroke) = nullptr;
    // A key press the system saw, told after the hook had its turn with it.
    // Windows removes a hook that once answered too slowly without a word: a
    // press the hook did not see says so.
    void (*systemPress)(void* context) = nullptr;
    // Another window is in front; `elevated` when its program runs with rights
    // this one lacks (Windows then passes its keys to no hook of ours).
    void (*foreground)(void* context, bool elevated) = nullptr;
    // The chord registered with registerChordHotkey was pressed.
    void (*registeredChord)(void* context) = nullptr;
    void* context = nullptr;
};

// Starts the keyboard's thread: the hook, the key presses the system sees, the
// window in front and a registered chord are told to `watch` from it. Waits
// for the thread's answer. False when the system refused the hook (no thread
// is left running then).
[[nodiscard]] bool startKeyboardHook(const KeyboardWatch& watch);
// From the keyboard's thread: the hook anew, after Windows removed it.
[[nodiscard]] bool reinstallKeyboardHook();
// From the keyboard's thread: the chord as a hotkey Windows delivers before any
// window's input, also from an elevated window (left and right modifiers are
// one to it). False when another program has registered it.
[[nodiscard]] bool registerChordHotkey(const HotkeyChord& chord);
void unregisterChordHotkey();
// True while a full-screen Direct3D program (a game) or a presentation is in
// front.
bool fullScreenInFront();
// True while the key is held down at this moment.
bool isKeyDown(int virtualKey);
// Presses and releases a key that means nothing to any program (0xE8). The
// hook's filter does not see it.
void pressNeutralKey();

}  // namespace tellurix::platform
