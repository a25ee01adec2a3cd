#pragma once

#include <optional>
#include <string>

#include "search/catalogue.h"
#include "search/history.h"
#include "search/keywords.h"

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

    // The search field's text as the user has it (never a placeholder).
    const std::string& text() const { return text_; }
    // The user changed the text; a walk through the history ends with it.
    void edit(std::string text);
    // Up and Down: the text becomes the next older or newer search, past the
    // newest what the user had typed. False when there is none (nothing changed).
    bool recallOlder();
    bool recallNewer();
    // Shift+Delete while the text is a search brought back: it leaves the
    // history and the text is what the user had typed again. True then.
    bool forgetRecalled();

    // What Return searches now: nothing when the term is empty, the site is
    // none the catalogue knows or the address would be no web address.
    std::optional<SearchRequest> search() const;
    // The browser has the search: the history remembers it and the text is
    // empty again. True when the history changed.
    bool searched(const SearchRequest& request);

private:
    Catalogue catalogue_;
    Keywords keywords_;
    History history_;
    HistoryWalk walk_;
    std::string currentSite_;
    std::string text_;
};

}  // namespace tellurix
