#include "search/former_sites.h"

#include <array>

#include "search/catalogue.h"

namespace tellurix {
namespace {

// tecchannel.de's row always searched sedo.com; the label now says so.
constexpr std::array<RenamedSite, 1> kRenamedSites{{
    {"tecchannel.de", "sedo.com"},
}};

// Closed, or their address needs an identifier only the site could issue.
constexpr std::array<std::string_view, 13> kRemovedSiteLabels{
    "altavista.com", "clipfish.de", "gulli.com", "gigablast.com", "ibm.com",          "kwick.de",   "linux-magazin.de",
    "myvideo.de",    "mp3.de",      "n24.de",    "oreilly.de",    "tomshardware.com", "tucows.com",
};

}  // namespace

std::span<const RenamedSite> renamedSites()
{
    return kRenamedSites;
}

std::span<const std::string_view> removedSiteLabels()
{
    return kRemovedSiteLabels;
}

StoredSite siteForStoredLabel(const Catalogue& catalogue, std::string_view stored)
{
    if (catalogue.find(stored))
        return {std::string(stored), {}};
    for (const RenamedSite& renamed : kRenamedSites) {
        if (renamed.formerLabel == stored)
            return {std::string(renamed.label), {}};
    }
    for (std::string_view removed : kRemovedSiteLabels) {
        if (removed == stored)
            return {std::string(defaultSiteLabel()), std::string(stored)};
    }
    return {std::string(stored), {}};
}

std::string removedSiteNotice(std::string_view removed, std::string_view chosen)
{
    return "Die Suchseite „" + std::string(removed) + "“ wird nicht mehr angeboten.\rGewählt ist jetzt " +
           std::string(chosen) + ".";
}

}  // namespace tellurix
