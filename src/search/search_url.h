#pragma once

#include <string>
#include <string_view>

#include "search/catalogue.h"

namespace tellurix {

// Escapes every byte outside A-Z a-z 0-9 - _ . ~ as %XX (upper-case hex).
std::string percentEncode(std::string_view utf8);

// The site's prefix, the escaped term and the site's suffix. The term is taken
// as typed (UTF-8, not trimmed).
std::string composeSearchUrl(const SearchSite& site, std::string_view utf8Term);

}  // namespace tellurix
