#pragma once

#include <atomic>
#include <cstdint>

#include "core/hotkey_chord.h"
#include "platform/keyboard.h"

namespace tellurix {

// What the keyboard hook knows between two key strokes. It lives on the hook's
// thread, except the chord, which the GUI thread may change at any time.
struct HotkeyState {
    std::atomic<std::uint32_t> chord{packChord(kStandardChord)};
    // The key of the last chord pressed, while it is held (its repeats and its
    // release are kept from the program in front as well); 0 when none.
    int keptKey = 0;
    unsigned int lastKeptPress = 0;
};

// One key stroke on the desktop: a press of the chord's key while exactly the
// chord's modifiers are held brings up the bar and is kept from the program in
// front, together with the key's auto-repeat and its release. Everything else
// passes unchanged.
platform::KeyVerdict filterHotkeyStroke(void* state, const platform::KeyStroke& stroke);

// Starts watching the keyboard for the chord: through the hook, or, when the
// system refuses it, by polling the keys every 100 ms. False when neither runs.
bool startHotkey(HotkeyState& state);
// The chord from now on.
void setHotkeyChord(HotkeyState& state, const HotkeyChord& chord);
HotkeyChord hotkeyChord(const HotkeyState& state);

}  // namespace tellurix
