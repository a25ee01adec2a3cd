#pragma once

#include <string_view>
#include <vector>

#include "formats/settings_line.h"
#include "search/search_bar.h"

// The user's own search sites and keywords, from the groups "[Eigene
// Suchseiten]" and "[Kuerzel]" of the settings file.
namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kOwnSitesGroup = "Eigene Suchseiten";
inline constexpr std::string_view kKeywordsGroup = "Kuerzel";

// Reads both groups of a settings document and puts what is valid into the
// bar: own sites after the built-in ones, and the keywords. Returns the lines
// skipped.
std::vector<SkippedLine> useOwnSitesAndKeywords(PreferencesFile& file, SearchBar& bar);

}  // namespace tellurix
