#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "search/settings_line.h"

// The user's own search sites and keywords, from the groups "[Eigene
// Suchseiten]" and "[Kuerzel]" of the settings file.
namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kOwnSitesGroup = "Eigene Suchseiten";
inline constexpr std::string_view kKeywordsGroup = "Kuerzel";

// Reads both groups of a document read already, whose file had `stamp` then,
// and puts what is valid in place: own sites into the catalogue, keywords into
// the search. Returns the lines skipped.
std::vector<SkippedLine> useOwnSitesAndKeywords(PreferencesFile& file, std::optional<platform::FileStamp> stamp);
// True when the file changed on disk since it was last read.
bool ownSitesFileChanged(std::string_view programName, std::string_view fileName);

}  // namespace tellurix
