// Reads any text as the chord of the settings file. A chord taken spells back
// to itself, holds one key and Ctrl, Alt or Win (F13 to F24 may go without),
// and is none of those Windows keeps or every program needs; a text refused
// says why.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "require.h"
#include "core/hotkey_chord.h"

namespace {

using tellurix::HotkeyChord;
using tellurix::Side;

// The refused chords as the README lists them.
bool refused(const HotkeyChord& chord)
{
    const bool control = chord.control != Side::None, shift = chord.shift != Side::None;
    const bool alt = chord.alt != Side::None, windows = chord.windows != Side::None;
    const int key = chord.key;
    if (windows && (key == 'L' || key == tellurix::kVkSpace || (key >= '0' && key <= '9')))
        return true;
    if (alt && !control && (key == tellurix::kVkF4 || key == tellurix::kVkSpace))
        return true;
    if (!windows)
        return false;
    if (!control && !shift && !alt)
        return key >= 'A' && key <= 'Z' && key != 'Q';
    const struct {
        bool control, shift, alt;
        int keys[5];
    } listed[] = {{false, true, false, {'C', 'M', 'S', 'V'}},
                  {true, false, false, {'C', 'D', 'F', 'Q', tellurix::kVkF4}},
                  {false, false, true, {'B', 'K', 'R'}},
                  {true, true, false, {'B'}}};
    for (const auto& more : listed)
        for (const int listedKey : more.keys)
            if (more.control == control && more.shift == shift && more.alt == alt && listedKey == key)
                return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tellurix::ChordReading reading = tellurix::readChord(text);
    require(reading.chord.has_value() == reading.problem.empty(), "a chord, or a problem that says why not");
    if (!reading.chord)
        return 0;
    const HotkeyChord chord = *reading.chord;
    require(tellurix::readChord(tellurix::spellChord(chord)).chord == chord, "a chord spells back to itself");
    require(tellurix::unpackChord(tellurix::packChord(chord)) == chord, "a chord packs into one number and back");
    const int key = chord.key;
    require((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == tellurix::kVkSpace ||
                (key >= tellurix::kVkF1 && key <= tellurix::kVkF24),
            "a chord has a key");
    const bool alone = chord.key >= tellurix::kVkF13 && chord.key <= tellurix::kVkF24;
    require(alone || chord.control != Side::None || chord.alt != Side::None || chord.windows != Side::None,
            "a chord holds Ctrl, Alt or Win, or F13 to F24");
    require(!refused(chord), "no chord Windows keeps or every program needs");
    return 0;
}
