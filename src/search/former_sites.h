#pragma once

#include <span>
#include <string>
#include <string_view>

#include "search/catalogue.h"

namespace tellurix {

// Built-in sites the catalogue once offered under another label, and those it
// offers no more. A label stored in the settings file, or named by a keyword,
// may still be one of these.
struct RenamedSite {
    std::string_view formerLabel;
    std::string_view label;
};

std::span<const RenamedSite> renamedSites();
// In the order they had in the catalogue.
std::span<const std::string_view> removedSiteLabels();

// What a stored site choice stands for now.
struct StoredSite {
    std::string label;         // the site to show and search
    std::string removedLabel;  // set when the stored label named a site no longer offered
};

// A site of the catalogue (built-in or own) stays as it is, a renamed one comes
// under its new label, one no longer offered gives way to the default site, and
// any other text stays as it is. Labels compare byte for byte, as the catalogue
// does. Call it once the own sites are in the catalogue: an own site may bear a
// label the catalogue has given up.
StoredSite siteForStoredLabel(const Catalogue& catalogue, std::string_view stored);

// The balloon text telling that `removed` is no longer offered and `chosen` is
// the site now.
std::string removedSiteNotice(std::string_view removed, std::string_view chosen);

}  // namespace tellurix
