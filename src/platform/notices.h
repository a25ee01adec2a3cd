#pragma once

#include <string_view>

namespace tellurix::platform {

// A balloon tip (title, information icon, 180 px wrap, no prefix processing)
// bound to a control of the main window.
void addBalloonTip(int control, std::string_view text, std::string_view title, int icon);
// A modal information box with one OK button over every window of the program.
void showMessageBox(std::string_view title, std::string_view text);

}  // namespace tellurix::platform
