#pragma once

#include <string>
#include <string_view>

#include "core/hotkey_chord.h"

namespace tellurix {

// A balloon tip with a title and an icon for a control of the main window.
void addBalloonTip(int control, std::string_view text, std::string_view title, int icon);
// A message box with an OK button and the information icon; returns when dismissed.
void showNotice(std::string_view title, std::string_view text);
// The text of the information box: the display name, then the about text,
// which names the chord in force.
std::string informationText(const HotkeyChord& chord);
void showInformationBox(const HotkeyChord& chord);

}  // namespace tellurix
