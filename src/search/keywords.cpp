#include "search/keywords.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/text.h"
#include "search/former_sites.h"

namespace tellurix {
namespace {

struct BuiltInKeyword {
    std::string_view word;
    std::string_view label;
};

constexpr std::array<BuiltInKeyword, 7> kBuiltInKeywords{{
    {"!g", "google.de"},
    {"!w", "wikipedia.org"},
    {"!yt", "youtube.com"},
    {"!a", "amazon.de"},
    {"!e", "ebay.de"},
    {"!d", "dict.cc"},
    {"!b", "bing.com"},
}};

constexpr std::string_view kBlanks = " \t";

}  // namespace

Keywords readKeywords(std::span<const SettingsLine> lines, std::span<const std::string> siteLabels)
{
    // Folded label -> the label as the site spells it.
    std::unordered_map<std::string, std::string> labels;
    for (const std::string& label : siteLabels) {
        if (!label.empty()) {
            labels.emplace(foldAsciiCase(label), label);
        }
    }
    // A renamed site's former label still names it, unless an own site bears it.
    for (const RenamedSite& renamed : renamedSites()) {
        const auto it = labels.find(foldAsciiCase(renamed.label));
        if (it != labels.end()) {
            std::string label = it->second;
            labels.emplace(foldAsciiCase(renamed.formerLabel), std::move(label));
        }
    }
    auto findLabel = [&labels](std::string_view label) -> const std::string* {
        const auto it = labels.find(foldAsciiCase(label));
        return it == labels.end() ? nullptr : &it->second;
    };

    Keywords result;
    // A built-in keyword whose site is gone could only lead nowhere.
    for (const BuiltInKeyword& builtIn : kBuiltInKeywords) {
        if (const std::string* label = findLabel(builtIn.label)) {
            result.entries.push_back({std::string(builtIn.word), *label});
        }
    }
    // The user's words are all different (see below), so a line can only
    // stand in for one of these; they stay in front of the user's.
    std::size_t builtIns = result.entries.size();

    std::unordered_set<std::string> seenWords;
    for (const SettingsLine& line : lines) {
        const char* problem = nullptr;
        const std::string* label = line.value.empty() ? nullptr : findLabel(line.value);
        if (line.key.empty()) {
            problem = "Kürzel leer";
        } else if (codePointCount(line.key) > kMaxKeywordLength) {
            problem = "Kürzel länger als 16 Zeichen";
        } else if (line.key.find_first_of(kBlanks) != std::string::npos) {
            problem = "Kürzel mit Leerzeichen";
        } else if (!seenWords.insert(foldAsciiCase(line.key)).second) {
            problem = "Kürzel schon vergeben";
        } else if (!line.value.empty() && label == nullptr) {
            problem = "Suchseite unbekannt";
        }
        if (problem != nullptr) {
            result.skipped.push_back({line.text, problem});
            continue;
        }
        // The line stands in for a built-in keyword of the same word; an empty
        // value leaves nothing in its place.
        const auto builtInsEnd = result.entries.begin() + static_cast<std::ptrdiff_t>(builtIns);
        const auto replaced = std::find_if(result.entries.begin(), builtInsEnd, [&line](const Keyword& entry) {
            return equalsIgnoringAsciiCase(entry.word, line.key);
        });
        if (replaced != builtInsEnd) {
            result.entries.erase(replaced);
            --builtIns;
        }
        if (label != nullptr) {
            result.entries.push_back({line.key, *label});
        }
    }
    return result;
}

std::optional<KeywordMatch> matchKeyword(std::string_view fieldText, const Keywords& keywords)
{
    const std::size_t wordEnd = fieldText.find_first_of(kBlanks);
    // No blank after the first word yet, or a blank before it: not active.
    if (wordEnd == std::string_view::npos || wordEnd == 0) {
        return std::nullopt;
    }
    const std::string_view word = fieldText.substr(0, wordEnd);
    for (const Keyword& entry : keywords.entries) {
        if (equalsIgnoringAsciiCase(entry.word, word)) {
            const std::size_t termStart = fieldText.find_first_not_of(kBlanks, wordEnd);
            const std::string_view term =
                termStart == std::string_view::npos ? std::string_view() : fieldText.substr(termStart);
            return KeywordMatch{entry.label, std::string(term)};
        }
    }
    return std::nullopt;
}

}  // namespace tellurix
