#pragma once

#include <string_view>

#include "platform/window_toolkit.h"

namespace tellurix {

// Where a window of outer size `outer` stands when centred on a screen of size
// `screen` (an outer size larger than the screen counts as the screen's size).
platform::Point centredPosition(platform::Size screen, platform::Size outer);

// Creates the hidden main window: client 530 x 40, titled with the display name,
// centred on the primary screen. False when the window cannot be created.
bool createMainWindow();

// Builds the controls, the Return shortcut, the balloon tips and the colour hook,
// then repaints the window. The site label starts with `siteLabel`.
void buildMainWindowControls(std::string_view siteLabel);

void bringUpMainWindow();
void hideMainWindow();
void turnTopmostOn();
void turnTopmostOff();
// Buttons 8 and 9 stand on one spot: 8 turns autostart off and is shown while
// it is on, 9 the other way round.
void showAutostartButtons(bool on);
// Closes the design window and lets the main window take input again.
void closeDesignWindow();

}  // namespace tellurix
