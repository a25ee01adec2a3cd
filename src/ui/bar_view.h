#pragma once

#include <string_view>

#include "search/search_bar.h"

// The bar's site label and search field show the bar's model: whatever
// changes the model, these put it on screen; what the user does in the field
// goes to the model first.
namespace tellurix {

// What the search field shows while it is empty and not where the user types.
inline constexpr std::string_view kPlaceholder = "Suchen...";

// The keys the search field leaves to the program: the site list (Alt+Down,
// F4), the history and the list under the field (Up, Down, Shift+Delete,
// Ctrl+Shift+Delete), and while that list is open, Escape.
void takeSearchFieldKeys(bool listOpen);
// The site label says what the model's label is (painted anew when it changed).
void showSiteLabel(const SearchBar& bar);
// The search field holds the model's text, the caret after it; an empty text
// shows the placeholder unless the field has the keyboard focus.
void showFieldText(const SearchBar& bar);
// The bar went away after a search: the field waits with the placeholder.
void showFieldAfterSearch();
// The field gained or lost the keyboard focus: the placeholder goes or comes.
void onFieldFocus(const SearchBar& bar);
void onFieldBlur(const SearchBar& bar);
// The field's text changed: an edit of the user's goes to the model (the
// program's own writes are what the model holds already). True for an edit.
bool onFieldChanged(SearchBar& bar);

}  // namespace tellurix
