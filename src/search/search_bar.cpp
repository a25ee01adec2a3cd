#include "search/search_bar.h"

#include <algorithm>
#include <utility>

#include "core/case_fold.h"
#include "formats/web_address.h"
#include "search/search_url.h"

namespace tellurix {

void SearchBar::setKeywords(Keywords keywords)
{
    keywords_ = std::move(keywords);
}

void SearchBar::setHistory(History history)
{
    history_ = std::move(history);
    walk_ = {};
    historyChanged();
}

void SearchBar::clearHistory()
{
    history_.entries.clear();
    walk_ = {};
    historyChanged();
}

void SearchBar::historyChanged()
{
    foldedHistory_.clear();
    foldedHistory_.reserve(history_.entries.size());
    for (const std::string& entry : history_.entries)
        foldedHistory_.push_back(foldCase(entry));
    refreshRows();
}

void SearchBar::chooseSite(std::string label)
{
    currentSite_ = std::move(label);
}

std::optional<KeywordMatch> SearchBar::activeKeyword() const
{
    return matchKeyword(text_, keywords_);
}

std::string SearchBar::label() const
{
    if (std::optional<KeywordMatch> keyword = activeKeyword())
        return std::move(keyword->label);
    return currentSite_;
}

void SearchBar::edit(std::string text)
{
    text_ = std::move(text);
    if (walk_.position >= 0 && text_ != walk_.shown)
        walk_ = {};
    typed_ = text_;
    highlighted_ = -1;
    listClosed_ = false;
    refreshRows();
}

bool SearchBar::up()
{
    if (!suggestionsOpen())
        return recallOlder();
    if (highlighted_ < 0)
        return false;
    --highlighted_;
    text_ = highlighted_ < 0 ? typed_ : rowText(highlighted_);
    return true;
}

bool SearchBar::down()
{
    if (!suggestionsOpen())
        return recallNewer();
    if (highlighted_ + 1 >= static_cast<int>(rows_.size()))
        return false;
    ++highlighted_;
    text_ = rowText(highlighted_);
    return true;
}

bool SearchBar::forgetShown()
{
    if (!suggestionsOpen() || highlighted_ < 0)
        return forgetRecalled();
    const SuggestionRow& row = rows_[static_cast<std::size_t>(highlighted_)];
    if (!row.earlierSearch || !forget(history_, row.text))
        return false;
    text_ = typed_;
    highlighted_ = -1;
    historyChanged();
    return true;
}

std::string SearchBar::suggestionTerm() const
{
    if (std::optional<KeywordMatch> keyword = matchKeyword(typed_, keywords_))
        return std::move(keyword->term);
    return typed_;
}

void SearchBar::setWebSuggestions(std::string_view term, std::span<const std::string> rows)
{
    webTerm_ = std::string(term);
    web_.assign(rows.begin(), rows.end());
    refreshRows();
}

void SearchBar::closeSuggestions()
{
    listClosed_ = true;
    highlighted_ = -1;
}

bool SearchBar::pickSuggestion(int row)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return false;
    highlighted_ = row;
    text_ = rowText(row);
    return true;
}

std::string SearchBar::rowText(int row) const
{
    const std::string& text = rows_[static_cast<std::size_t>(row)].text;
    const std::string term = suggestionTerm();
    // "!w ber" with the row "berlin": "!w berlin", so the keyword still holds.
    return typed_.substr(0, typed_.size() - term.size()) + text;
}

void SearchBar::refreshRows()
{
    const std::string term = suggestionTerm();
    // The web's rows of a shorter term stay while they still fit what is
    // typed, until the answer for the term itself arrives.
    std::vector<std::string> web;
    if (webTerm_ == term) {
        web = web_;
    } else if (!webTerm_.empty() && foldCase(term).starts_with(foldCase(webTerm_))) {
        const std::string folded = foldCase(term);
        for (const std::string& row : web_)
            if (foldCase(row).starts_with(folded))
                web.push_back(row);
    }
    const std::string shown = highlighted_ >= 0 ? rows_[static_cast<std::size_t>(highlighted_)].text : std::string();
    rows_ = suggestionRows(term, history_.entries, foldedHistory_, web);
    // The row the field shows stays highlighted wherever it went.
    const auto same =
        std::find_if(rows_.begin(), rows_.end(), [&](const SuggestionRow& row) { return row.text == shown; });
    highlighted_ = highlighted_ >= 0 && same != rows_.end() ? static_cast<int>(same - rows_.begin()) : -1;
}

bool SearchBar::recallOlder()
{
    std::optional<std::string> entry = walkOlder(walk_, history_, text_);
    if (!entry)
        return false;
    text_ = std::move(*entry);
    return true;
}

bool SearchBar::recallNewer()
{
    std::optional<std::string> entry = walkNewer(walk_, history_);
    if (!entry)
        return false;
    text_ = std::move(*entry);
    return true;
}

bool SearchBar::forgetRecalled()
{
    if (walk_.position < 0 || !forget(history_, walk_.shown))
        return false;
    // Back to what the user had typed; Up starts again from the newest.
    text_ = std::move(walk_.typed);
    walk_ = {};
    historyChanged();
    return true;
}

std::optional<SearchRequest> SearchBar::search() const
{
    std::string term = text_;
    std::string site = currentSite_;
    // "!w Berlin": the rest of the text, on the keyword's site.
    if (std::optional<KeywordMatch> keyword = activeKeyword()) {
        term = std::move(keyword->term);
        site = std::move(keyword->label);
    }
    if (term.empty())
        return std::nullopt;
    // A label that names no site (a hand-edited settings file) finds nothing
    // rather than launching a guess.
    const std::optional<int> position = catalogue_.find(site);
    if (!position)
        return std::nullopt;
    std::string url = composeSearchUrl(catalogue_.site(*position), term);
    if (!isWebUrl(url))
        return std::nullopt;
    return SearchRequest{std::move(url), text_};
}

bool SearchBar::searched(const SearchRequest& request)
{
    const bool changed = remember(history_, request.typed);
    text_.clear();
    walk_ = {};
    typed_.clear();
    web_.clear();
    webTerm_.clear();
    highlighted_ = -1;
    listClosed_ = false;
    historyChanged();
    return changed;
}

}  // namespace tellurix
