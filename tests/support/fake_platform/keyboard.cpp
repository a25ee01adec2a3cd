#include "fake_platform/fake_state.h"
#include "platform/keyboard.h"

namespace tellurix::platform {

using namespace fake::internal;

bool startKeyboardHook(KeyFilter filter, void* context)
{
    record("startKeyboardHook", 0);
    if (kit().refuseKeyboardHook)
        return false;
    kit().keyFilter = filter;
    kit().keyFilterContext = context;
    return true;
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
    return kit().keyFilter != nullptr;
}

KeyVerdict strokeKey(int virtualKey, bool down, unsigned int time)
{
    KeyVerdict verdict = KeyVerdict::Pass;
    if (kit().keyFilter)
        verdict = kit().keyFilter(kit().keyFilterContext, {virtualKey, down, time});
    // As on Windows: a key the hook keeps never reaches the key state.
    if (verdict == KeyVerdict::Pass)
        setKeyDown(virtualKey, down);
    return verdict;
}

int neutralKeyPresses()
{
    return kit().neutralKeys;
}

}  // namespace fake
}  // namespace tellurix::platform
