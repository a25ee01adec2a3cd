#include "search/own_sites.h"

#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "search/search_url.h"
#include "core/text.h"

namespace tellurix {

OwnSites readOwnSites(std::span<const SettingsLine> lines, std::span<const std::string> builtInLabels)
{
    OwnSites result;
    std::unordered_set<std::string> takenLabels;
    for (const std::string& label : builtInLabels) {
        takenLabels.insert(foldAsciiCase(label));
    }
    for (const SettingsLine& line : lines) {
        std::optional<std::string> problem;
        if (line.key.empty()) {
            problem = "Name leer";
        } else if (codePointCount(line.key) > kMaxOwnLabelLength) {
            problem = "Name länger als 60 Zeichen";
        } else if (takenLabels.contains(foldAsciiCase(line.key))) {
            problem = "Name schon vergeben";
        } else {
            problem = urlTemplateProblem(line.value);
        }
        // Only a line that would otherwise be taken is told that it found no room.
        if (!problem && result.sites.size() >= static_cast<std::size_t>(kMaxOwnSites)) {
            problem = "kein Platz mehr (" + std::to_string(kMaxOwnSites) + " eigene Suchseiten)";
        }
        if (problem) {
            result.skipped.push_back({line.text, std::move(*problem)});
            continue;
        }
        result.sites.push_back(siteOfUrlTemplate(line.key, line.value));
        takenLabels.insert(foldAsciiCase(line.key));
    }
    return result;
}

std::string skippedLinesNotice(const std::vector<SkippedLine>& skipped)
{
    constexpr std::size_t kNamedLines = 3;
    std::string notice;
    for (std::size_t i = 0; i < skipped.size() && i < kNamedLines; ++i) {
        if (i > 0) {
            notice += '\n';
        }
        // Three quoted lines with their reasons fit the 255 characters a balloon holds.
        notice += "„" + shortenedText(skipped[i].text, 30) + "“: " + skipped[i].reason;
    }
    if (skipped.size() > kNamedLines) {
        notice += "\nund " + std::to_string(skipped.size() - kNamedLines) + " weitere";
    }
    return notice;
}

}  // namespace tellurix
