// Drives the whole search bar from bytes: up to the first NUL they are the
// settings file whose own sites and keywords the bar takes, as the program
// does; the rest are the user's steps (typing, keywords, history, Up and Down,
// picked rows, web rows, another site, Return) in the order the bytes say.
// Whatever Return would search is a web address on the site the label names,
// with the term only where the site's "%s" was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "require.h"
#include "formats/web_address.h"
#include "search/history.h"
#include "search/search_bar.h"
#include "search/search_url.h"
#include "settings/own_sites_file.h"
#include "settings/preferences_file.h"

namespace {

using tellurix::SearchBar;

// The bytes still to come.
struct Steps {
    std::string_view bytes;
    bool done() const { return bytes.empty(); }
    unsigned byte()
    {
        if (bytes.empty())
            return 0;
        const auto value = static_cast<unsigned char>(bytes.front());
        bytes.remove_prefix(1);
        return value;
    }
    std::string text()
    {
        const std::size_t length = std::min<std::size_t>(byte() % 24, bytes.size());
        std::string value(bytes.substr(0, length));
        bytes.remove_prefix(length);
        return value;
    }
};

// What stands between "://" and the path, the query or the fragment.
std::string_view hostOf(std::string_view url)
{
    const std::string_view rest = url.substr(std::min(url.find("://") + 3, url.size()));
    return rest.substr(0, rest.find_first_of("/?#"));
}

void checkSearch(const SearchBar& bar)
{
    require(bar.highlighted() >= -1 && bar.highlighted() < static_cast<int>(bar.suggestions().size()),
            "the highlighted row is one of the list's");
    const std::optional<tellurix::SearchRequest> request = bar.search();
    if (!request)
        return;
    const std::string& url = request->url;
    require(tellurix::isWebUrl(url), "a search opens a web address");
    require(request->typed == bar.text(), "the history is given what the field shows");
    const std::optional<int> position = bar.catalogue().find(bar.label());
    require(position.has_value(), "a search goes to the site the label names");
    const tellurix::SearchSite& site = bar.catalogue().site(*position);
    const std::optional<tellurix::KeywordMatch> keyword = bar.activeKeyword();
    const std::string term = keyword ? keyword->term : bar.text();
    require(!term.empty(), "no search for nothing");
    require(url == site.urlPrefix + tellurix::percentEncode(term) + site.urlSuffix, "the term where the site's %s was");
    require(hostOf(url) == hostOf(site.urlPrefix + site.urlSuffix), "the term never changes the host");
    require(hostOf(url).find('@') == std::string_view::npos, "no user name before the host");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = std::min(input.find('\0'), input.size());
    tellurix::PreferencesFile file;
    file.parse(input.substr(0, end));
    SearchBar bar;
    tellurix::useOwnSitesAndKeywords(file, bar);
    // The words a keyword step may type: the built-in ones and the file's.
    std::vector<std::string> words{"!g", "!w", "!yt", "!a", "!e", "!d", "!b"};
    file.selectGroup(tellurix::kKeywordsGroup);
    for (const tellurix::SettingsLine& line : file.keyLines())
        words.push_back(line.key);
    const std::vector<std::string> labels = bar.catalogue().labels();
    bar.chooseSite(labels[20]);

    Steps steps{input.substr(std::min(end + 1, input.size()))};
    while (!steps.done()) {
        switch (steps.byte() % 10) {
        case 0: bar.edit(steps.text()); break;
        case 1: {
            const std::string& word = words[steps.byte() % words.size()];
            const char* blank = steps.byte() % 2 ? " " : "\t";
            bar.edit(word + blank + steps.text());
            break;
        }
        case 2: bar.up(); break;
        case 3: bar.down(); break;
        case 4: bar.pickSuggestion(static_cast<int>(steps.byte() % 10) - 1); break;
        case 5: {
            std::vector<std::string> rows;
            for (unsigned count = steps.byte() % 5; count > 0; --count)
                rows.push_back(bar.suggestionTerm() + steps.text());
            bar.setWebSuggestions(steps.byte() % 4 ? bar.suggestionTerm() : steps.text(), rows);
            break;
        }
        case 6: steps.byte() % 2 ? bar.closeSuggestions() : static_cast<void>(bar.forgetShown()); break;
        case 7: {
            // Half of the picks go to the own sites, which follow the built-in ones.
            const unsigned pick = steps.byte();
            const std::size_t at = pick < 128 ? pick : tellurix::kFilledSites + pick - 128;
            bar.chooseSite(pick == 0 ? steps.text() : labels[at % labels.size()]);
            break;
        }
        case 8:
            if (std::optional<tellurix::SearchRequest> request = bar.search())
                bar.searched(*request);
            break;
        default: {
            tellurix::History history;
            const int limit = static_cast<int>(steps.byte() % 8);
            history.entries = tellurix::parseHistory(steps.text(), limit);
            bar.setHistory(std::move(history));
        }
        }
        checkSearch(bar);
    }
    // Every site the file brought, whatever the steps chose.
    for (std::size_t at = tellurix::kFilledSites; at < labels.size(); ++at) {
        bar.chooseSite(labels[at]);
        bar.edit("a b");
        checkSearch(bar);
    }
    return 0;
}
