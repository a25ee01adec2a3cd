#include "search/suggestion_rows.h"

#include <algorithm>

#include "core/case_fold.h"
#include "core/text.h"

namespace tellurix {
namespace {

// Control characters (C0, DEL, C1) and the Unicode line and paragraph
// separators: in UTF-8 the C1 controls are C2 80 to C2 9F, the separators
// E2 80 A8 and E2 80 A9.
bool hasControlOrLineBreak(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F))
            return true;
        if (c == 0xE2 && next == 0x80 && i + 2 < text.size() && (text[i + 2] == '\xA8' || text[i + 2] == '\xA9'))
            return true;
    }
    return false;
}

}  // namespace

bool isSuggestionLine(std::string_view text)
{
    return !text.empty() && isValidUtf8(text) && codePointCount(text) <= kMaxSuggestionLength &&
           !hasControlOrLineBreak(text);
}

std::vector<SuggestionRow> suggestionRows(std::string_view term, std::span<const std::string> history,
                                          std::span<const std::string> web)
{
    std::vector<std::string> folded;
    folded.reserve(history.size());
    for (const std::string& entry : history)
        folded.push_back(foldCase(entry));
    return suggestionRows(term, history, folded, web);
}

std::vector<SuggestionRow> suggestionRows(std::string_view term, std::span<const std::string> history,
                                          std::span<const std::string> foldedHistory, std::span<const std::string> web)
{
    std::vector<SuggestionRow> rows;
    if (term.empty())
        return rows;
    std::vector<std::string> shown;  // folded
    const std::string folded = foldCase(term);
    for (std::size_t i = 0; i < history.size() && i < foldedHistory.size(); ++i) {
        if (rows.size() == kMaxHistorySuggestionRows)
            break;
        const std::string& key = foldedHistory[i];
        if (!key.starts_with(folded) || std::find(shown.begin(), shown.end(), key) != shown.end() ||
            !isSuggestionLine(history[i]))
            continue;
        shown.push_back(key);
        rows.push_back({history[i], true});
    }
    for (const std::string& suggestion : web) {
        if (rows.size() == kMaxSuggestionRows)
            break;
        if (!isSuggestionLine(suggestion))
            continue;
        std::string key = foldCase(suggestion);
        if (std::find(shown.begin(), shown.end(), key) != shown.end())
            continue;
        shown.push_back(std::move(key));
        rows.push_back({suggestion, false});
    }
    return rows;
}

}  // namespace tellurix
