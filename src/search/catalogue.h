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

inline constexpr int kCatalogueSize = 1001;  // at most this many sites, built-in and own
inline constexpr int kFilledSites = 80;      // positions 0 to 79 hold the built-in sites
inline constexpr int kDefaultSitePosition = 20;

// The sites a search can go to: the built-in ones, then the user's own, each
// at its position (the order of the site list).
class Catalogue {
public:
    // The built-in sites, no own sites yet.
    Catalogue();
    // The user's own sites right after the built-in ones, in their order (at
    // most kCatalogueSize - kFilledSites), in place of those before.
    void setOwnSites(std::span<const SearchSite> sites);
    // First position whose label equals `label` byte for byte, if any.
    std::optional<int> find(std::string_view label) const;
    // The entry at a position (an empty one where there is none).
    const SearchSite& site(int position) const;
    // Every label, built-in and own, in order.
    std::vector<std::string> labels() const;

private:
    std::vector<SearchSite> sites_;
};

// The labels of the built-in sites, in catalogue order.
std::vector<std::string> builtInSiteLabels();
// Label of the default entry: the site used when no settings file exists yet.
std::string_view defaultSiteLabel();

}  // namespace tellurix
