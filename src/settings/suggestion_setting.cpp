#include "settings/suggestion_setting.h"

#include <optional>

#include "core/text.h"
#include "search/suggestion_requests.h"
#include "settings/preferences_file.h"

namespace tellurix {
namespace {

// A balloon holds about 255 characters: long values are cut.
std::string shortened(std::string_view text)
{
    constexpr std::size_t kLimit = 40;
    if (codePointCount(text) <= kLimit)
        return std::string(text);
    return std::string(text.substr(0, codePointPrefixSize(text, kLimit - 1))) + "…";
}

}  // namespace

SuggestionSetting readSuggestionSetting(PreferencesFile& file)
{
    SuggestionSetting setting;
    if (!file.selectGroup(kSuggestionsGroup))
        return setting;
    const std::string active = file.readString(kSuggestionsActiveKey, "0");
    if (active != "0" && active != "1")
        setting.badValues.push_back({std::string(kSuggestionsActiveKey), active, "Wert ist weder 0 noch 1"});
    const std::string source = file.readString(kSuggestionsSourceKey, "");
    if (!source.empty()) {
        if (std::optional<std::string> problem = suggestionSourceProblem(source))
            setting.badValues.push_back({std::string(kSuggestionsSourceKey), source, std::move(*problem)});
        else
            setting.source = source;
    }
    setting.active = active == "1" && setting.badValues.empty();
    return setting;
}

std::string suggestionNotice(const SuggestionSetting& setting)
{
    if (setting.badValues.empty())
        return {};
    std::string text;
    for (const BadSuggestionValue& bad : setting.badValues)
        text += bad.key + " = " + shortened(bad.value) + "\r" + bad.problem + ".\r";
    return text + "Vorschläge aus dem Netz bleiben aus.";
}

}  // namespace tellurix
