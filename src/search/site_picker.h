#pragma once

#include "platform/events.h"

namespace tellurix {

// Opens the list of sites flush under the site label (a fresh one each time).
void openSitePicker();
// From the search field (Alt+Down, F4): the list with the current site
// highlighted and the keyboard in it.
void openSitePickerFromKeyboard();
// A key taken from the list opened from the keyboard: moves the highlight,
// picks (Return) or closes (Escape).
void onPickerKey(const platform::KeyPress& press);
// Opened with the mouse: the list's selection, if any, becomes the new site and
// the picker closes.
void pickSite();
// A double click picks the site under the mouse either way.
void pickSiteByDoubleClick();
// Closes the picker when the main window has come to the foreground.
void dismissSitePicker();
// Puts an open picker under the label again, at the bar's scale.
void layOutSitePicker();
// Closes the picker without a choice (Alt+F4 on it).
void closeSitePicker();

}  // namespace tellurix
