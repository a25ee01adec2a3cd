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
inline constexpr int kFilledSites = 93;      // positions 0 to 92 are filled
inline constexpr int kDefaultSitePosition = 22;

// Allocates the table with every entry empty (start-up, before the main window).
void reserveSearchSites();
// Writes positions 0 to 92 from the built-in table.
void fillSearchSites();
// The user's own sites at positions 93 on, in their order (at most 908); the
// positions after them are emptied.
void setOwnSearchSites(std::span<const SearchSite> sites);
// The labels of the 93 built-in sites, in catalogue order.
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
