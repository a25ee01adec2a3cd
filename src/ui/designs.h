#pragma once

namespace tellurix {

// The designs by their numbers: design 1 is 200, design 14 is 213. A design's
// background is image (number - 100), its preview image (number).
inline constexpr int kFirstDesign = 200;
inline constexpr int kLastDesign = 213;

// The design a stored number stands for: itself when it names a design, the
// default design (203) otherwise.
int designFromStored(int stored);

// Makes the design previews and the search field's brush (start-up). A stored
// design number that names no design becomes the default design here.
void prepareDesigns();
// Installs the current design as the main window's background (start-up).
void applyBackground();
// Draws the site label and the search field over the design.
void installColourHook();

// The design window, "Design wechseln". It steps through the designs by their
// previews, starting at design 1; the current design changes only when the user
// activates one, so until then the bar and the settings keep the earlier one.
void openDesignWindow();
void stepDesignBack();
void stepDesignForward();
// "Aktivieren": the design shown becomes the current design, with new brushes.
void activateDesign();
// "Abbrechen": the design current before the design window opened stays the design.
void cancelDesign();

}  // namespace tellurix
