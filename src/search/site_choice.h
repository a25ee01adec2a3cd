#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "search/keywords.h"

// Which site the next search goes to. The current site shows in the site
// label; while the field begins with a keyword, the label shows the keyword's
// site instead and the current site waits here until the keyword is gone.
namespace tellurix {

void setKeywords(Keywords keywords);

// The site searches go to when no keyword is active.
std::string currentSiteLabel();
// A site picked by the user becomes the current site.
void chooseSite(std::string_view label);
// The search field's text changed: the label shows the site of an active
// keyword, or the current site again.
void showSiteForField();
// The keyword active in the search field, if any.
std::optional<KeywordMatch> activeKeyword();

}  // namespace tellurix
