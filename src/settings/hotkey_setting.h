#pragma once

#include <string>
#include <string_view>

#include "core/hotkey_chord.h"

// The user's own chord for the bar: "Tastenkuerzel" in the group
// "[Einstellungen]" of the settings file. The program reads it and never
// writes it.
namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kHotkeyKey = "Tastenkuerzel";
inline constexpr std::string_view kHotkeyNoticeTitle = "Tastenkürzel";

struct HotkeySetting {
    HotkeyChord chord = kStandardChord;
    // A value that is no chord (or one Windows or every program keeps), as
    // written, and why; empty when there is none.
    std::string badValue;
    std::string problem;
};

// The chord in force: the file's when it names one the program may take, the
// standard chord when the key is missing, empty, no chord or a chord Windows or
// every program keeps.
HotkeySetting readHotkeySetting(PreferencesFile& file);
// The balloon text about a value that is no chord; empty when there is none.
std::string hotkeyNotice(const HotkeySetting& setting);

}  // namespace tellurix
