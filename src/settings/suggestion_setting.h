#pragma once

#include <string>
#include <string_view>
#include <vector>

// Web suggestions as the user switched them on: the group "[Vorschlaege]" of
// the settings file, keys "Aktiv" (1: on) and "Quelle" (the source's address
// with one %s). The program reads them and never writes them.
namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kSuggestionsGroup = "Vorschlaege";
inline constexpr std::string_view kSuggestionsActiveKey = "Aktiv";
inline constexpr std::string_view kSuggestionsSourceKey = "Quelle";
inline constexpr std::string_view kStandardSuggestionSource =
    "https://suggestqueries.google.com/complete/search?client=firefox&hl=de&q=%s";
inline constexpr std::string_view kSuggestionsNoticeTitle = "Vorschläge";

// A value that cannot be used, as written, and why.
struct BadSuggestionValue {
    std::string key;
    std::string value;
    std::string problem;

    friend bool operator==(const BadSuggestionValue&, const BadSuggestionValue&) = default;
};

struct SuggestionSetting {
    bool active = false;
    std::string source{kStandardSuggestionSource};
    std::vector<BadSuggestionValue> badValues;  // any of them keeps suggestions off
};

// Off when "Aktiv" is missing or 0, or when a value is bad; the standard
// source when "Quelle" is missing or empty.
SuggestionSetting readSuggestionSetting(PreferencesFile& file);
// The balloon text about the bad values; empty when there are none.
std::string suggestionNotice(const SuggestionSetting& setting);

}  // namespace tellurix
