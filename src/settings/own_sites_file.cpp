#include "settings/own_sites_file.h"

#include "search/keywords.h"
#include "search/own_sites.h"
#include "settings/preferences_file.h"

namespace tellurix {

std::vector<SkippedLine> useOwnSitesAndKeywords(PreferencesFile& file, SearchBar& bar)
{
    file.selectGroup(kOwnSitesGroup);
    const std::vector<SettingsLine> siteLines = file.keyLines();
    file.selectGroup(kKeywordsGroup);
    const std::vector<SettingsLine> keywordLines = file.keyLines();

    OwnSites own = readOwnSites(siteLines, builtInSiteLabels());
    bar.catalogue().setOwnSites(own.sites);
    Keywords found = readKeywords(keywordLines, bar.catalogue().labels());
    std::vector<SkippedLine> skipped = std::move(own.skipped);
    skipped.insert(skipped.end(), found.skipped.begin(), found.skipped.end());
    bar.setKeywords(std::move(found));
    return skipped;
}

}  // namespace tellurix
