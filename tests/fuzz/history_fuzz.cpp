// Feeds arbitrary bytes to the history as if they were Verlauf.txt, remembers a
// search taken from the bytes too, and checks what a save and the next start
// must give. The first two bytes are the limit (0 to 500), the third how many
// of the last bytes are the search (three for each); the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "require.h"
#include "core/text.h"
#include "search/history.h"

namespace {

// What the search field can show and the file can hold again, line by line.
void checkEntries(const std::vector<std::string>& entries, int limit)
{
    require(entries.size() <= static_cast<std::size_t>(limit), "at most `limit` entries");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        require(!entry.empty(), "no empty entry");
        require(tellurix::isValidUtf8(entry), "entries are UTF-8");
        require(entry.find_first_of("\r\n") == std::string::npos, "an entry holds no line break");
        require(tellurix::codePointCount(entry) <= tellurix::kMaxHistoryEntryLength,
                "entries are 500 characters at most");
        require(std::find(entries.begin() + static_cast<std::ptrdiff_t>(i) + 1, entries.end(), entry) == entries.end(),
                "no two entries alike");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const int limit = (data[0] << 8 | data[1]) % (tellurix::kMaxHistoryLimit + 1);
    std::string_view file(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::size_t termSize = std::min<std::size_t>(file.size(), data[2] * 3u);
    const std::string_view term = file.substr(file.size() - termSize);
    file.remove_suffix(termSize);

    tellurix::History history;
    history.limit = limit;
    history.entries = tellurix::parseHistory(file, limit);
    checkEntries(history.entries, limit);
    // Notepad's byte order mark in front of a file without one changes nothing.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    require(file.substr(0, kBom.size()) == kBom ||
                tellurix::parseHistory(std::string(kBom).append(file), limit) == history.entries,
            "a byte order mark is no part of the first entry");

    // The search goes in front, the others keep their order behind it.
    const std::vector<std::string> before = history.entries;
    const std::string entry = tellurix::historyEntry(term);
    const bool taken = tellurix::remember(history, term);
    require(taken == (limit > 0 && !entry.empty() && tellurix::isValidUtf8(entry)),
            "every UTF-8 search is remembered, nothing else");
    checkEntries(history.entries, limit);
    if (taken) {
        require(history.entries.front() == entry, "the search comes first");
        std::vector<std::string> others = before;
        others.erase(std::remove(others.begin(), others.end(), entry), others.end());
        others.resize(std::min(others.size(), static_cast<std::size_t>(limit) - 1));
        require(std::equal(others.begin(), others.end(), history.entries.begin() + 1, history.entries.end()),
                "the earlier searches follow in their order");
    } else {
        require(history.entries == before, "a refused search changes nothing");
    }

    // What a save writes, the next start reads back the same.
    require(tellurix::parseHistory(tellurix::composeHistory(history.entries), limit) == history.entries,
            "a saved history reads back the same");
    return 0;
}
