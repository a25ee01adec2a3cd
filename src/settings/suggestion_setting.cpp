#include "settings/suggestion_setting.h"

#include <optional>

#include "core/text.h"
#include "search/search_url.h"
#include "settings/preferences_file.h"

namespace tellurix {
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
        if (std::optional<std::string> problem = urlTemplateProblem(source))
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
    // Two bad values fit the 255 characters a balloon holds.
    std::string text;
    for (const BadSuggestionValue& bad : setting.badValues)
        text += bad.key + " = " + shortenedText(bad.value, 40) + "\r" + bad.problem + ".\r";
    return text + "Vorschläge aus dem Netz bleiben aus.";
}

}  // namespace tellurix
