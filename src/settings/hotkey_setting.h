#pragma once

#include <string>
#include <string_view>

#include "core/hotkey_chord.h"

// The user's own chord for the bar: "Tastenkuerzel" in the group
// "[Einstellungen]" of the settings file, and "Vollbild" (1: the chord works
// over full-screen games and presentations too). The program reads them and
// never writes them.
namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kHotkeyKey = "Tastenkuerzel";
inline constexpr std::string_view kFullScreenKey = "Vollbild";
inline constexpr std::string_view kHotkeyNoticeTitle = "Tastenkürzel";

struct HotkeySetting {
    HotkeyChord chord = kStandardChord;
    // A value that is no chord (or one Windows or every program keeps), as
    // written, and why; empty when there is none.
    std::string badValue;
    std::string problem;
    bool overFullScreen = false;
    // A "Vollbild" value other than 0 and 1, as written; empty when there is none.
    std::string badFullScreen;
};

// The chord in force: the file's when it names one the program may take, the
// standard chord when the key is missing, empty, no chord or a chord Windows or
// every program keeps; over full-screen programs only with "Vollbild = 1".
HotkeySetting readHotkeySetting(PreferencesFile& file);
// The balloon text about values that cannot be used; empty when there are none.
std::string hotkeyNotice(const HotkeySetting& setting);

}  // namespace tellurix
