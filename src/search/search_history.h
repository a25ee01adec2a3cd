#pragma once

#include <string_view>

#include "search/history.h"

// The history as the search field uses it. Whoever keeps the history file
// saves it when these say it changed.
namespace tellurix {

void setHistory(History history);
const History& history();

// A search was started with the field's text as the user typed it. True when
// the history changed.
bool rememberSearch(std::string_view typed);
// Up and Down in the search field: the next older or newer entry (past the
// newest, what the user had typed), the caret at its end.
void recallOlder();
void recallNewer();
// Shift+Delete: removes the entry the field shows, if it shows one; true then.
bool forgetRecalled();
// Forgets every entry.
void clearHistory();
// The field's text changed: an edit of the user's ends the walk.
void onSearchFieldEdited();

}  // namespace tellurix
