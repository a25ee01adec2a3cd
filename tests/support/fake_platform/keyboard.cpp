#include "fake_platform/fake_state.h"
#include "platform/keyboard.h"

namespace tellurix::platform {

using namespace fake::internal;

bool startKeyboardHook(const KeyboardWatch& watch)
{
    record("startKeyboardHook", 0);
    if (kit().refuseKeyboardHook)
        return false;
    kit().keyboard = watch;
    ++kit().hookInstalls;
    return true;
}

bool reinstallKeyboardHook()
{
    record("reinstallKeyboardHook", 0);
    if (kit().refuseKeyboardHook)
        return false;
    kit().keyboardHookLost = false;
    ++kit().hookInstalls;
    return true;
}

bool registerChordHotkey(const HotkeyChord& chord)
{
    kit().registeredChord = chord;
    return true;
}

void unregisterChordHotkey()
{
    kit().registeredChord.reset();
}

bool fullScreenInFront()
{
    return kit().fullScreen;
}

bool isKeyDown(int virtualKey)
{
    return kit().keysDown.count(virtualKey) != 0;
}

void pressNeutralKey()
{
    ++kit().neutralKeys;
}

namespace fake {

void setKeyDown(int virtualKey, bool down)
{
    if (down)
        kit().keysDown.insert(virtualKey);
    else
        kit().keysDown.erase(virtualKey);
}

void refuseKeyboardHook(bool refuse)
{
    kit().refuseKeyboardHook = refuse;
}

bool keyboardHookInstalled()
{
    return kit().keyboard.stroke != nullptr && !kit().keyboardHookLost;
}

int keyboardHookInstalls()
{
    return kit().hookInstalls;
}

void loseKeyboardHook()
{
    kit().keyboardHookLost = true;
}

KeyVerdict strokeKey(int virtualKey, bool down, unsigned int time)
{
    const KeyboardWatch& watch = kit().keyboard;
    KeyVerdict verdict = KeyVerdict::Pass;
    if (keyboardHookInstalled())
        verdict = watch.stroke(watch.context, {virtualKey, down, time});
    // As on Windows: a key the hook keeps goes nowhere, the key state
    // included; one that passes is seen by the system after the hook.
    if (verdict == KeyVerdict::Pass) {
        setKeyDown(virtualKey, down);
        if (down && watch.systemPress)
            watch.systemPress(watch.context);
    }
    return verdict;
}

void bringToFront(bool elevated)
{
    if (kit().keyboard.foreground)
        kit().keyboard.foreground(kit().keyboard.context, elevated);
}

std::optional<HotkeyChord> registeredChord()
{
    return kit().registeredChord;
}

void pressRegisteredChord()
{
    if (kit().registeredChord && kit().keyboard.registeredChord)
        kit().keyboard.registeredChord(kit().keyboard.context);
}

void setFullScreenInFront(bool fullScreen)
{
    kit().fullScreen = fullScreen;
}

int neutralKeyPresses()
{
    return kit().neutralKeys;
}

}  // namespace fake
}  // namespace tellurix::platform
