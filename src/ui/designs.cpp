#include "ui/designs.h"

namespace tellurix {

void prepareDesigns() {}
void applyBackground() {}
void installColourHook() {}
void openDesignWindow() {}
void stepDesignBack() {}
void stepDesignForward() {}
void activateDesign() {}
void cancelDesign() {}

}  // namespace tellurix
