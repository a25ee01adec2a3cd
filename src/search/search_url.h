#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "search/catalogue.h"

namespace tellurix {

// Escapes every byte outside A-Z a-z 0-9 - _ . ~ as %XX (upper-case hex).
std::string percentEncode(std::string_view utf8);

// The site's prefix, the escaped term and the site's suffix. The term is taken
// as typed (UTF-8, not trimmed).
std::string composeSearchUrl(const SearchSite& site, std::string_view utf8Term);

// Addresses as the user writes them (own sites, suggestion sources): http://
// or https://, a host, no blanks, and "%s" once where the term goes.
inline constexpr std::size_t kMaxUrlTemplateLength = 2000;  // code points
// Why such an address cannot be used (German, for a balloon), or nothing.
std::optional<std::string> urlTemplateProblem(std::string_view url);
// The site of such an address: what stands before its "%s" and after it.
SearchSite siteOfUrlTemplate(std::string_view label, std::string_view url);

}  // namespace tellurix
