#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The key chord that calls up the bar: which modifiers must be held (and on
// which side) and the one key whose press completes it. Keys are numbered as
// the keyboard reports them (Windows' virtual-key codes).
namespace tellurix {

// What a chord asks of one modifier (Ctrl, Shift, Alt, Windows key).
enum class Side : std::uint8_t {
    None,    // must not be held on either side
    Either,  // held on at least one side
    Left,    // held on the left, not on the right
    Right,   // held on the right, not on the left
};

inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF4 = 0x73;
inline constexpr int kVkF13 = 0x7C;
inline constexpr int kVkF24 = 0x87;
inline constexpr int kVkLeftShift = 0xA0;
inline constexpr int kVkRightShift = 0xA1;
inline constexpr int kVkLeftControl = 0xA2;
inline constexpr int kVkRightControl = 0xA3;
inline constexpr int kVkLeftAlt = 0xA4;
inline constexpr int kVkRightAlt = 0xA5;
inline constexpr int kVkLeftWindows = 0x5B;
inline constexpr int kVkRightWindows = 0x5C;
// A key that means nothing to any program: pressed while Alt or a Windows key
// is down, it keeps their release from opening a menu.
inline constexpr int kVkNeutral = 0xE8;

struct HotkeyChord {
    Side control = Side::Left;
    Side shift = Side::Left;
    Side alt = Side::None;
    Side windows = Side::None;
    int key = 'S';

    friend bool operator==(const HotkeyChord&, const HotkeyChord&) = default;
};

// Left Ctrl + left Shift + S.
inline constexpr HotkeyChord kStandardChord{};

// Which of the eight modifier keys are held.
struct ModifierKeys {
    bool leftControl = false;
    bool rightControl = false;
    bool leftShift = false;
    bool rightShift = false;
    bool leftAlt = false;
    bool rightAlt = false;
    bool leftWindows = false;
    bool rightWindows = false;
};

// True when exactly the chord's modifiers are held: each on the side it asks
// for, and no other modifier.
bool modifiersMatch(const HotkeyChord& chord, const ModifierKeys& held);
// True when the chord holds Alt or a Windows key (their release after a kept
// key needs the neutral key).
bool holdsMenuModifier(const HotkeyChord& chord);

struct ChordReading {
    std::optional<HotkeyChord> chord;
    std::string problem;  // German, when there is no chord
};

// Reads a chord as the user writes it in the settings file: names joined by
// "+", e.g. "Strg+Alt+K" or "LStrg + LUmschalt + S". A chord that Windows keeps
// for itself or that every program needs (Win+L, Win+E, Alt+F4, ...) is
// refused like a misspelled one, the problem saying what it does there.
ChordReading readChord(std::string_view text);
// The chord in the settings file's names, e.g. "LStrg+LUmschalt+S";
// readChord reads it back as the same chord.
std::string spellChord(const HotkeyChord& chord);
// The chord in the words of the program's texts, e.g. "linker Strg + linker
// Shift + S".
std::string describeChord(const HotkeyChord& chord);

// A chord packed into one number and back, so that another thread can take it
// up atomically.
std::uint32_t packChord(const HotkeyChord& chord);
HotkeyChord unpackChord(std::uint32_t packed);

}  // namespace tellurix
