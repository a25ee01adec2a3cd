#pragma once

#include "search/search_bar.h"

// The list under the search field while the user types: it shows the rows of
// the bar's model, as wide as the field, at most eight, in the site list's
// look, and never takes the keyboard from the field.
namespace tellurix {

// Opens, fills and places the list when the model has rows to offer, with
// the row the field shows highlighted; closes it when there are none. The
// field takes Escape while the list is open (it closes the list), else
// Escape puts the bar away.
void showSuggestions(const SearchBar& bar);
void closeSuggestionList();
// The open list highlights the row the field shows now (its rows stay).
void showHighlightedSuggestion(const SearchBar& bar);
// The row the user clicked in the list, or -1.
int clickedSuggestion();

}  // namespace tellurix
