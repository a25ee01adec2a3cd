#pragma once

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

using KeyFilter = KeyVerdict (*)(void* context, const KeyStroke& stroke);

// Starts a thread of its own that hands every key stroke on the desktop to
// `filter`, on that thread, before any program sees it. The filter must answer
// within a few milliseconds: every key press waits for it. False when the
// system refused the hook (no thread is left running then).
[[nodiscard]] bool startKeyboardHook(KeyFilter filter, void* context);
// True while the key is held down at this moment.
bool isKeyDown(int virtualKey);
// Presses and releases a key that means nothing to any program (0xE8). The
// hook's filter does not see it.
void pressNeutralKey();

}  // namespace tellurix::platform
