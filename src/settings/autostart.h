#pragma once

namespace tellurix {

// Shows whether the autostart shortcut exists (start-up).
void showAutostartState();
void enableAutostart();
void disableAutostart();

}  // namespace tellurix
