#pragma once

namespace tellurix {

inline constexpr int kFirstDesign = 200;
inline constexpr int kLastDesign = 213;

// Makes the design previews and the search field's brush (start-up).
void prepareDesigns();
// Installs the current design as the main window's background (start-up).
void applyBackground();
// Draws the site label and the search field over the design.
void installColourHook();
void openDesignWindow();
void stepDesignBack();
void stepDesignForward();
void activateDesign();
// "Abbrechen": the design shown before the design window opened stays the design.
void cancelDesign();

}  // namespace tellurix
