#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tellurix {

// One search site: the label the user sees (the site's domain name) and the two
// pieces of its search URL that stand before and after the term.
struct SearchSite {
    std::string label;
    std::string urlPrefix;
    std::string urlSuffix;
};

inline constexpr int kCatalogueSize = 1001;  // positions 0 to 1000
inline constexpr int kFilledSites = 80;      // positions 0 to 79 hold the built-in sites
inline constexpr int kDefaultSitePosition = 20;

// Allocates the table with every entry empty (start-up, before the main window).
void reserveSearchSites();
// Writes the built-in sites to positions 0 to kFilledSites - 1.
void fillSearchSites();
// The user's own sites right after the built-in ones, in their order (at most
// kCatalogueSize - kFilledSites); the positions after them are emptied.
void setOwnSearchSites(std::span<const SearchSite> sites);
// The labels of the built-in sites, in catalogue order.
std::vector<std::string> builtInSiteLabels();
// Every label in the catalogue now, built-in and own, in catalogue order.
std::vector<std::string> siteLabels();
// First position 0..1000 whose label equals `label` byte for byte, if any.
std::optional<int> findSearchSite(std::string_view label);
// Entry at a position 0..1000 (an empty entry before the table is filled).
const SearchSite& searchSite(int position);
// Label of the default entry: the site used when no settings file exists yet.
std::string_view defaultSiteLabel();

}  // namespace tellurix
