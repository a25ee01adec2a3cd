#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellurix {

inline constexpr std::string_view kPlaceholder = "Suchen...";

void onSearchFieldFocus();
void onSearchFieldBlur();

// Return in the main window: the URL that searches the field's text on the
// current site, or the rest of it on a keyword's site. Nothing when the field
// does not have the focus, the term is empty, or the label names no site; then
// the bar and the term stay as they are.
std::optional<std::string> searchUrlFromBar();
// Hands the URL to the browser and puts the placeholder back into the field.
void launchSearch(const std::string& url);

}  // namespace tellurix
