#pragma once

#include <string_view>

#include "platform/geometry.h"
#include "ui/designs.h"

namespace tellurix {

// Where a window of outer size `outer` stands when centred on a screen of size
// `screen` (an outer size larger than the screen counts as the screen's size).
platform::Point centredPosition(platform::Size screen, platform::Size outer);

// Creates the hidden main window: client 530 x 40 at 96 DPI (scaled to the
// primary monitor's), titled with the display name, centred on the primary
// screen. False when the window cannot be created.
bool createMainWindow();

// Builds the controls, the Return shortcut and the colour hook, then repaints
// the window. The site label starts empty. False when a control could not be
// made (the bar is no use then).
bool buildMainWindowControls(Designs& designs);

// After a change of display scale: the bar's size, controls, font and
// pictures for its DPI now.
void layOutMainWindow();
// When the mouse is on another monitor than the bar, the bar moves there,
// centred in its work area; on the same monitor it stays where it is.
void placeOnCursorMonitor();
// Places the bar (above), shows it and brings it to the front.
void bringUpMainWindow();
// The balloon tips of the seven image buttons.
void addButtonTips();
void hideMainWindow();
void turnTopmostOn();
void turnTopmostOff();
// Buttons 8 and 9 stand on one spot: 8 turns autostart off and is shown while
// it is on, 9 the other way round.
void showAutostartButtons(bool on);
// Closes the design window and lets the main window take input again.
void closeDesignWindow();

}  // namespace tellurix
