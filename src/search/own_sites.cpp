#include "search/own_sites.h"

#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "formats/web_address.h"
#include "search/search_url.h"
#include "core/text.h"

namespace tellurix {
namespace {

constexpr std::string_view kTermMarker = "%s";

std::size_t markerCount(std::string_view url)
{
    std::size_t count = 0;
    for (std::size_t at = url.find(kTermMarker); at != std::string_view::npos;
         at = url.find(kTermMarker, at + kTermMarker.size())) {
        ++count;
    }
    return count;
}

// The reason a URL template cannot be used, or nothing when it can.
std::optional<std::string> urlProblem(std::string_view url)
{
    if (!url.starts_with("http://") && !url.starts_with("https://")) {
        return "Adresse beginnt nicht mit http:// oder https://";
    }
    if (codePointCount(url) > kMaxOwnUrlLength) {
        return "Adresse länger als 2000 Zeichen";
    }
    if (hasBlankOrControl(url)) {
        return "Adresse mit Leerzeichen oder Steuerzeichen";
    }
    const std::size_t markers = markerCount(url);
    if (markers == 0) {
        return "Adresse ohne %s";
    }
    if (markers > 1) {
        return "Adresse mit mehr als einem %s";
    }
    // The address handed to the shell is the one with a term in it, so that is
    // what must pass. Scheme and characters are fine by now; only the host is left.
    const std::size_t at = url.find(kTermMarker);
    const SearchSite sample{"", std::string(url.substr(0, at)), std::string(url.substr(at + kTermMarker.size()))};
    if (!isWebUrl(composeSearchUrl(sample, "a b"))) {
        return "Adresse ohne Rechnernamen";
    }
    return std::nullopt;
}

// Three quoted lines with their reasons fit the 255 characters a balloon holds.
std::string shortened(std::string_view text)
{
    constexpr std::size_t kLimit = 30;
    if (codePointCount(text) <= kLimit) {
        return std::string(text);
    }
    return std::string(text.substr(0, codePointPrefixSize(text, kLimit - 1))) + "…";
}

}  // namespace

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
            problem = urlProblem(line.value);
        }
        // Only a line that would otherwise be taken is told that it found no room.
        if (!problem && result.sites.size() >= static_cast<std::size_t>(kMaxOwnSites)) {
            problem = "kein Platz mehr (" + std::to_string(kMaxOwnSites) + " eigene Suchseiten)";
        }
        if (problem) {
            result.skipped.push_back({line.text, std::move(*problem)});
            continue;
        }
        const std::size_t at = line.value.find(kTermMarker);
        result.sites.push_back({line.key, line.value.substr(0, at), line.value.substr(at + kTermMarker.size())});
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
        notice += "„" + shortened(skipped[i].text) + "“: " + skipped[i].reason;
    }
    if (skipped.size() > kNamedLines) {
        notice += "\nund " + std::to_string(skipped.size() - kNamedLines) + " weitere";
    }
    return notice;
}

}  // namespace tellurix
