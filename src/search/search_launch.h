#pragma once

#include <string_view>

namespace tellurix {

inline constexpr std::string_view kPlaceholder = "Suchen...";

void onSearchFieldFocus();
void onSearchFieldBlur();
// Return in the main window: search for the field's text on the labelled site.
void startSearch();

}  // namespace tellurix
