#include "search/search_bar.h"

#include <utility>

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
}

void SearchBar::clearHistory()
{
    history_.entries.clear();
    walk_ = {};
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
    text_.clear();
    walk_ = {};
    return remember(history_, request.typed);
}

}  // namespace tellurix
