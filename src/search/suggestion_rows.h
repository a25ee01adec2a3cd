#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The rows of the list under the search field while the user types: earlier
// searches that begin with the typed text, then the web's suggestions.
namespace tellurix {

inline constexpr std::size_t kMaxSuggestionRows = 8;
inline constexpr std::size_t kMaxHistorySuggestionRows = 4;
inline constexpr std::size_t kMaxSuggestionLength = 500;  // characters

struct SuggestionRow {
    std::string text;
    bool earlierSearch = false;  // from the history (Shift+Delete may remove it)

    friend bool operator==(const SuggestionRow&, const SuggestionRow&) = default;
};

// True for text a row can show: well-formed UTF-8, not empty, not longer than
// 500 characters, one line without control characters.
bool isSuggestionLine(std::string_view text);

// The rows for `term` (after a keyword: the part after it): up to 4 entries of
// `history` (newest first) that begin with the term, compared without regard
// to case, in that order; then the `web` suggestions not shown already (again
// without regard to case); 8 rows at most. No rows for an empty term. Texts
// that are no suggestion line are left out.
std::vector<SuggestionRow> suggestionRows(std::string_view term, std::span<const std::string> history,
                                          std::span<const std::string> web);
// The same with the history's entries folded already (foldCase), one for each
// entry: a keystroke then folds nothing but the term and the web's rows.
std::vector<SuggestionRow> suggestionRows(std::string_view term, std::span<const std::string> history,
                                          std::span<const std::string> foldedHistory, std::span<const std::string> web);

}  // namespace tellurix
