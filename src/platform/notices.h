#pragma once

#include <string_view>

namespace tellurix::platform {

// A balloon tip (title, icon, 180 px wrap, no prefix processing) bound to a
// control; icon 1 is the information icon.
void addBalloonTip(int control, std::string_view text, std::string_view title, int icon);
// A modal information box with one OK button over every window of the program.
void showMessageBox(std::string_view title, std::string_view text);
// A modal question with "Yes" (the default button) and "No"; true for yes.
[[nodiscard]] bool askYesNo(std::string_view title, std::string_view text);

}  // namespace tellurix::platform
