#pragma once

namespace tellurix {

// Opens the list of sites flush under the site label (a fresh one each time).
void openSitePicker();
// Takes the list's selection, if any, as the new site and closes the picker.
void pickSite();
// Closes the picker when the main window has come to the foreground.
void dismissSitePicker();
// Closes the picker without a choice (Alt+F4 on it).
void closeSitePicker();

}  // namespace tellurix
