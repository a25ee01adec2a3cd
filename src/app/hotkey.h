#pragma once

#include <atomic>
#include <cstdint>

#include "core/hotkey_chord.h"
#include "platform/keyboard.h"

namespace tellurix {

// What the keyboard hook knows between two key strokes. It lives on the hook's
// thread, except the chord and the full-screen choice, which the GUI thread
// may change at any time.
struct HotkeyState {
    std::atomic<std::uint32_t> chord{packChord(kStandardChord)};
    // The chord works over full-screen programs too ("Vollbild = 1").
    std::atomic<bool> overFullScreen{false};
    // The key of the last chord pressed, while it is held (its repeats and its
    // release are kept from the program in front as well); 0 when none.
    int keptKey = 0;
    unsigned int lastKeptPress = 0;
    // Presses the hook saw since the last one the system saw: none means
    // Windows removed the hook.
    int hookPresses = 0;
    // The window in front belongs to an elevated program: its keys reach no
    // hook of ours, so the chord is registered with Windows meanwhile.
    bool elevatedInFront = false;
};

// One key stroke on the desktop: a press of the chord's key while exactly the
// chord's modifiers are held brings up the bar and is kept from the program in
// front, together with the key's auto-repeat and its release. Everything else
// passes unchanged.
// While a full-screen game or presentation is in front, the chord passes to it
// untouched, unless the user chose otherwise.
platform::KeyVerdict filterHotkeyStroke(void* state, const platform::KeyStroke& stroke);
// A key press the system saw, after the hook had its turn: when the hook saw
// none since the last one, Windows removed it, and it is installed again.
void onSystemKeyPress(void* state);
// Another window is in front: an elevated one gets the chord registered with
// Windows, a normal one has it unregistered.
void onForegroundChanged(void* state, bool elevated);
// The registered chord was pressed (an elevated window is in front).
void onRegisteredChord(void* state);

// Starts watching the keyboard for the chord: through the hook, or, when the
// system refuses it, by polling the keys every 100 ms; never both. False when
// neither runs.
bool startHotkey(HotkeyState& state);
// The chord from now on.
void setHotkeyChord(HotkeyState& state, const HotkeyChord& chord);
HotkeyChord hotkeyChord(const HotkeyState& state);

}  // namespace tellurix
