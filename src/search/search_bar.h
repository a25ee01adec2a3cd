#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "search/catalogue.h"
#include "search/history.h"
#include "search/keywords.h"
#include "search/suggestion_rows.h"

namespace tellurix {

// What Return searches: the address for the browser, and the text as the user
// typed it, which the history remembers.
struct SearchRequest {
    std::string url;
    std::string typed;
};

// The bar as the program knows it, whatever its controls show: the sites, the
// site chosen, the keywords, the history and the walk through it, and the text
// the user has in the search field. It decides what Return searches, what Up
// and Down bring back and what the site label says; the controls only show it.
class SearchBar {
public:
    Catalogue& catalogue() { return catalogue_; }
    const Catalogue& catalogue() const { return catalogue_; }
    void setKeywords(Keywords keywords);
    void setHistory(History history);
    const History& history() const { return history_; }
    // Forgets every search.
    void clearHistory();

    // The site searches go to while no keyword is typed; the settings keep it.
    const std::string& currentSite() const { return currentSite_; }
    void chooseSite(std::string label);
    // The keyword at the start of the text, if any.
    std::optional<KeywordMatch> activeKeyword() const;
    // What the site label says: the keyword's site while one is typed, else
    // the current site.
    std::string label() const;

    // What the search field shows (never a placeholder): what the user typed,
    // or a search or a row the keys brought into it.
    const std::string& text() const { return text_; }
    // The user changed the text: a walk through the history ends, and the
    // list under the field follows the new text.
    void edit(std::string text);
    // Up and Down. While the list under the field is open they move through its
    // rows (Down from the text goes to the first row, Up from the first row
    // back to the text as typed); else they walk the history (past the newest,
    // what the user had typed). False when nothing changed.
    bool up();
    bool down();
    // Shift+Delete: an earlier search the field shows (from the list or the
    // walk) leaves the history, and the text is what the user typed. True then.
    bool forgetShown();

    // The list under the field: earlier searches that begin with the term,
    // then the web's suggestions. The term is what the user typed, after a
    // keyword the part after it.
    std::string suggestionTerm() const;
    bool suggestionsOpen() const { return !rows_.empty() && !listClosed_; }
    const std::vector<SuggestionRow>& suggestions() const { return rows_; }
    // The row the field shows, or -1: the text as typed.
    int highlighted() const { return highlighted_; }
    // The web's suggestions for `term` arrived (some may be none).
    void setWebSuggestions(std::string_view term, std::span<const std::string> rows);
    // Escape: the list closes until the text changes.
    void closeSuggestions();
    // A row the user picked: the field shows it. False for no such row.
    bool pickSuggestion(int row);

    // What Return searches now: nothing when the term is empty, the site is
    // none the catalogue knows or the address would be no web address.
    std::optional<SearchRequest> search() const;
    // The browser has the search: the history remembers it and the text is
    // empty again. True when the history changed.
    bool searched(const SearchRequest& request);

private:
    bool recallOlder();
    bool recallNewer();
    bool forgetRecalled();
    // The field's text for a row: the keyword as typed, then the row.
    std::string rowText(int row) const;
    void refreshRows();
    // The history has changed: its entries folded anew, the rows with them.
    void historyChanged();

    Catalogue catalogue_;
    Keywords keywords_;
    History history_;
    std::vector<std::string> foldedHistory_;  // foldCase of each entry
    HistoryWalk walk_;
    std::string currentSite_;
    std::string text_;
    // What the user typed last (the field may show a row instead).
    std::string typed_;
    std::vector<SuggestionRow> rows_;
    int highlighted_ = -1;
    bool listClosed_ = false;
    // The web's suggestions and the term they came for.
    std::vector<std::string> web_;
    std::string webTerm_;
};

}  // namespace tellurix
