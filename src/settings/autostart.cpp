#include "settings/autostart.h"

namespace tellurix {

void showAutostartState() {}
void enableAutostart() {}
void disableAutostart() {}

}  // namespace tellurix
