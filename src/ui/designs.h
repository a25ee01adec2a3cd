#pragma once

#include "core/numbers.h"
#include "core/settings.h"
#include "platform/designs.h"

namespace tellurix {

// The bar's design as the program shows it: the brushes it owns and, while
// the design window is open, the design shown there.
struct Designs {
    // The two brushes of the current design; whoever holds these owns them.
    int backgroundBrush = platform::kNoBrush;
    int searchFieldBrush = platform::kNoBrush;
    bool hookInstalled = false;
    // The design the bar shows (its brushes above).
    int current = kDefaultDesign;
    // While the design window is open: the design it shows.
    bool choosing = false;
    int shown = kFirstDesign;
};

// The design a stored number stands for: itself when it names a design, the
// default design (203) otherwise.
int designFromStored(int stored);

// Makes the design previews (for a DPI) and the search field's brush
// (start-up) for the design a stored number stands for, and returns that design.
int prepareDesigns(Designs& state, int stored, int dpi = 96);
// Installs a design as the main window's background (start-up).
void applyBackground(Designs& state, int design);
// Draws the site label and the search field over the design.
void installColourHook(Designs& state);

// The design window, "Design wechseln". It steps through the designs by their
// previews, starting at design 1; the current design changes only when the user
// activates one, so until then the bar and the settings keep the earlier one.
// False when the window could not be made (it is not shown then).
[[nodiscard]] bool openDesignWindow(Designs& state);
void stepDesignBack(Designs& state);
void stepDesignForward(Designs& state);
// "Aktivieren": the design shown becomes the current design, with new brushes.
// Returns the current design (`current` when the design window was not open).
int activateDesign(Designs& state, int current);
// "Abbrechen": the design current before the design window opened stays the design.
void cancelDesign(Designs& state);

// After a change of display scale: the design's pictures for the new DPI (and
// the previews while the design window is open) and its brushes from them.
void showDesignAgain(Designs& state, int design, int dpi);
void layOutDesignWindow(const Designs& state);

}  // namespace tellurix
