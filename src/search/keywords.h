#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/settings_line.h"

namespace tellurix {

inline constexpr std::size_t kMaxKeywordLength = 16;  // code points

struct Keyword {
    std::string word;   // as written; matched without regard to ASCII case
    std::string label;  // spelled exactly as the site's label
};

struct Keywords {
    std::vector<Keyword> entries;
    std::vector<SkippedLine> skipped;
};

// The built-in keywords ("!g", "!w", ...) changed by the lines of "[Kuerzel]":
// key = keyword, value = site label. A line replaces the built-in keyword of
// the same word; an empty value removes it. `siteLabels` holds every label a
// keyword may name (built-in and own sites).
Keywords readKeywords(std::span<const SettingsLine> lines, std::span<const std::string> siteLabels);

struct KeywordMatch {
    std::string label;
    std::string term;  // may be empty: the keyword has been typed, the term not yet
};

// A keyword is active when the field's whole first word, starting at the first
// character, is a keyword and a blank (space or tab) follows it.
std::optional<KeywordMatch> matchKeyword(std::string_view fieldText, const Keywords& keywords);

}  // namespace tellurix
