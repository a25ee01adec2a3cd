#pragma once

#include "platform/events.h"
#include "search/search_bar.h"

namespace tellurix {

// The list of sites under the site label, while it is open.
struct SitePicker {
    // Opened from the keyboard, the list moves a highlight with the keys and
    // only Return or a double click picks; opened with the mouse, the first
    // selection picks.
    bool keyboardMode = false;
};

// Opens the list of sites flush under the site label (a fresh one each time).
// False when it could not be made (nothing is shown then).
[[nodiscard]] bool openSitePicker(SitePicker& picker, const SearchBar& bar);
// From the search field (Alt+Down, F4): the list with the current site
// highlighted and the keyboard in it.
[[nodiscard]] bool openSitePickerFromKeyboard(SitePicker& picker, const SearchBar& bar);
// A key taken from the list opened from the keyboard: moves the highlight,
// picks (Return) or closes (Escape).
void onPickerKey(SitePicker& picker, SearchBar& bar, const platform::KeyPress& press);
// Opened with the mouse: the list's selection, if any, becomes the current site
// and the picker closes.
void pickSite(SitePicker& picker, SearchBar& bar);
// A double click picks the site under the mouse either way.
void pickSiteByDoubleClick(SitePicker& picker, SearchBar& bar);
// Closes the picker when the main window has come to the foreground.
void dismissSitePicker(SitePicker& picker);
// Puts an open picker under the label again, at the bar's scale.
void layOutSitePicker();
// Closes the picker without a choice (Alt+F4 on it).
void closeSitePicker(SitePicker& picker);

}  // namespace tellurix
