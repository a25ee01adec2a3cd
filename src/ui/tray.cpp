#include "ui/tray.h"

namespace tellurix {

void addTrayIcon() {}
void buildTrayMenu() {}
void showTrayMenu() {}
void removeTrayIcon() {}

}  // namespace tellurix
