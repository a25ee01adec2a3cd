#pragma once

#include "core/numbers.h"

namespace tellurix {

// The design a stored number stands for: itself when it names a design, the
// default design (203) otherwise.
int designFromStored(int stored);

// Makes the design previews (for a DPI) and the search field's brush
// (start-up) for the design a stored number stands for, and returns that design.
int prepareDesigns(int stored, int dpi = 96);
// Installs a design as the main window's background (start-up).
void applyBackground(int design);
// Draws the site label and the search field over the design.
void installColourHook();

// The design window, "Design wechseln". It steps through the designs by their
// previews, starting at design 1; the current design changes only when the user
// activates one, so until then the bar and the settings keep the earlier one.
void openDesignWindow();
void stepDesignBack();
void stepDesignForward();
// "Aktivieren": the design shown becomes the current design, with new brushes.
// Returns the current design (`current` when the design window was not open).
int activateDesign(int current);
// "Abbrechen": the design current before the design window opened stays the design.
void cancelDesign();

// After a change of display scale: the design's pictures for the new DPI (and
// the previews while the design window is open) and its brushes from them.
void showDesignAgain(int design, int dpi);
void layOutDesignWindow();

}  // namespace tellurix
