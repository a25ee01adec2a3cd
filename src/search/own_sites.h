#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "search/catalogue.h"
#include "formats/settings_line.h"

namespace tellurix {

// Own sites fill the catalogue positions after the built-in ones.
inline constexpr int kMaxOwnSites = kCatalogueSize - kFilledSites;  // 921
inline constexpr std::size_t kMaxOwnLabelLength = 60;               // code points

struct OwnSites {
    std::vector<SearchSite> sites;  // in file order
    std::vector<SkippedLine> skipped;
};

// Reads the lines of "[Eigene Suchseiten]": key = label, value = URL template
// with exactly one "%s" where the term goes. The template is split at the
// "%s" and otherwise kept as written.
OwnSites readOwnSites(std::span<const SettingsLine> lines, std::span<const std::string> builtInLabels);

// The balloon text naming up to three skipped lines with their reasons and how
// many more there are; empty when nothing was skipped.
std::string skippedLinesNotice(const std::vector<SkippedLine>& skipped);

}  // namespace tellurix
