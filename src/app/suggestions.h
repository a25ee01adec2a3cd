#pragma once

#include <optional>
#include <string>

#include "search/search_bar.h"
#include "search/suggestion_requests.h"
#include "settings/suggestion_setting.h"

// The list under the search field while the user types, and the web's
// suggestions for it when the user switched them on.
namespace tellurix {

// The web's suggestions while the user has them on.
struct WebSuggestions {
    // For every source the program asks: a request of one that was switched
    // off may still hold its number.
    RequestNumbers numbers;
    std::optional<SuggestionRequests> requests;
    std::string source;  // empty: off
    // The balloon last shown about bad values, told only once.
    std::string told;
};

// The web's suggestions as the settings file has them: asked for only with
// "[Vorschlaege] Aktiv = 1"; a bad value keeps them off and is told once.
void useSuggestionSetting(WebSuggestions& web, const SuggestionSetting& setting);
// The user changed what is typed: the list follows it, and the web is asked
// about the new term (never a keyword) once the typing rests.
void onTypedTextChanged(WebSuggestions& web, const SearchBar& bar);
// The list closes and whatever was asked is called off (Escape, leaving the
// field, a search, the bar put away).
void stopSuggesting(WebSuggestions& web, SearchBar& bar);
// The request rules' timer came.
void onSuggestionTimer(WebSuggestions& web);
// An answer (or its failure) from the web.
void onSuggestionAnswer(WebSuggestions& web, SearchBar& bar, int request);

}  // namespace tellurix
