#include "app/hotkey.h"

#include "platform/threads.h"
#include "platform/trace.h"

namespace tellurix {
namespace {

using platform::KeyStroke;
using platform::KeyVerdict;

constexpr int kPollMilliseconds = 100;
// The key's auto-repeat follows its press within this time; a press after a
// longer pause is a new one, even when the release in between went unseen.
constexpr unsigned int kRepeatWithinMs = 1500;

ModifierKeys heldModifiers()
{
    using platform::isKeyDown;
    return {isKeyDown(kVkLeftControl), isKeyDown(kVkRightControl), isKeyDown(kVkLeftShift),
            isKeyDown(kVkRightShift),  isKeyDown(kVkLeftAlt),      isKeyDown(kVkRightAlt),
            isKeyDown(kVkLeftWindows), isKeyDown(kVkRightWindows)};
}

void bringUpBar()
{
    platform::markStep("keys seen");
    platform::requestBringUp();
}

// A game or a presentation in front keeps the chord, unless the user wants
// the bar over it too. Asked only when the chord is pressed.
bool leftToFullScreen(const HotkeyState& state)
{
    return !state.overFullScreen.load() && platform::fullScreenInFront();
}

// Only when the hook cannot be had: the chord is seen while it is held at one
// of the polls.
void pollHotkey(void* context)
{
    const HotkeyState& state = *static_cast<const HotkeyState*>(context);
    for (;;) {
        const HotkeyChord chord = hotkeyChord(state);
        if (platform::isKeyDown(chord.key) && modifiersMatch(chord, heldModifiers()) && !leftToFullScreen(state))
            bringUpBar();
        platform::sleepMilliseconds(kPollMilliseconds);
    }
}

}  // namespace

KeyVerdict filterHotkeyStroke(void* context, const KeyStroke& stroke)
{
    HotkeyState& state = *static_cast<HotkeyState*>(context);
    if (stroke.down)
        ++state.hookPresses;
    if (state.keptKey != 0 && stroke.virtualKey == state.keptKey) {
        if (!stroke.down) {
            state.keptKey = 0;
            return KeyVerdict::Keep;
        }
        if (stroke.time - state.lastKeptPress <= kRepeatWithinMs) {
            state.lastKeptPress = stroke.time;
            return KeyVerdict::Keep;
        }
        state.keptKey = 0;
    }
    const HotkeyChord chord = hotkeyChord(state);
    if (!stroke.down || stroke.virtualKey != chord.key)
        return KeyVerdict::Pass;
    // The key is down already (the hook sees a stroke before the key state
    // follows it): this is the repeat of a press the program in front had.
    if (platform::isKeyDown(stroke.virtualKey) || !modifiersMatch(chord, heldModifiers()) || leftToFullScreen(state))
        return KeyVerdict::Pass;
    state.keptKey = stroke.virtualKey;
    state.lastKeptPress = stroke.time;
    // Alt or a Windows key released right after a kept key would open the menu
    // bar of the program in front, or the Start menu: a key between them that
    // means nothing prevents it.
    if (holdsMenuModifier(chord))
        platform::pressNeutralKey();
    bringUpBar();
    return KeyVerdict::Keep;
}

void onSystemKeyPress(void* context)
{
    HotkeyState& state = *static_cast<HotkeyState*>(context);
    // An elevated window's keys pass our hook by, as they should.
    if (state.hookPresses == 0 && !state.elevatedInFront && !platform::reinstallKeyboardHook())
        platform::markStep("keyboard hook refused, tried again at the next key");
    state.hookPresses = 0;
}

void onForegroundChanged(void* context, bool elevated)
{
    HotkeyState& state = *static_cast<HotkeyState*>(context);
    state.elevatedInFront = elevated;
    if (!elevated)
        platform::unregisterChordHotkey();
    else if (!platform::registerChordHotkey(hotkeyChord(state)))
        platform::markStep("chord taken by another program");
}

void onRegisteredChord(void* context)
{
    const HotkeyState& state = *static_cast<const HotkeyState*>(context);
    if (!leftToFullScreen(state))
        bringUpBar();
}

bool startHotkey(HotkeyState& state)
{
    const platform::KeyboardWatch watch{filterHotkeyStroke, onSystemKeyPress, onForegroundChanged, onRegisteredChord,
                                        &state};
    if (platform::startKeyboardHook(watch))
        return true;
    return platform::startThread(pollHotkey, &state);
}

void setHotkeyChord(HotkeyState& state, const HotkeyChord& chord)
{
    state.chord.store(packChord(chord));
}

HotkeyChord hotkeyChord(const HotkeyState& state)
{
    return unpackChord(state.chord.load());
}

}  // namespace tellurix
