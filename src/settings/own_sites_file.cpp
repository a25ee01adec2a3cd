#include "settings/own_sites_file.h"

#include <optional>

#include "platform/files.h"
#include "search/catalogue.h"
#include "search/keywords.h"
#include "search/own_sites.h"
#include "search/site_choice.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"

namespace tellurix {
namespace {

// The stamp of the file as it was last read.
std::optional<platform::FileStamp>& lastRead()
{
    static std::optional<platform::FileStamp> stamp;
    return stamp;
}

}  // namespace

std::vector<SkippedLine> useOwnSitesAndKeywords(PreferencesFile& file, std::optional<platform::FileStamp> stamp)
{
    lastRead() = stamp;
    file.selectGroup(kOwnSitesGroup);
    const std::vector<SettingsLine> siteLines = file.keyLines();
    file.selectGroup(kKeywordsGroup);
    const std::vector<SettingsLine> keywordLines = file.keyLines();

    OwnSites own = readOwnSites(siteLines, builtInSiteLabels());
    setOwnSearchSites(own.sites);
    Keywords found = readKeywords(keywordLines, siteLabels());
    std::vector<SkippedLine> skipped = std::move(own.skipped);
    skipped.insert(skipped.end(), found.skipped.begin(), found.skipped.end());
    setKeywords(std::move(found));
    return skipped;
}

bool ownSitesFileChanged(std::string_view programName, std::string_view fileName)
{
    return platform::fileStamp(settingsFilePath(programName, fileName)) != lastRead();
}

}  // namespace tellurix
