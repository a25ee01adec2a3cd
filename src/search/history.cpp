#include "search/history.h"

#include <algorithm>

#include "core/text.h"

namespace tellurix {
namespace {

// U+FEFF at the start of a line is a byte order mark to the editors that save
// the file (and the file's first line is read without it), never a search.
std::string_view withoutLeadingMarks(std::string_view text)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    while (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    return text;
}

}  // namespace

std::string historyEntry(std::string_view typed)
{
    typed = withoutLeadingMarks(typed);
    std::string entry(typed.substr(0, codePointPrefixSize(typed, kMaxHistoryEntryLength)));
    std::replace_if(
        entry.begin(), entry.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return entry;
}

bool remember(History& history, std::string_view typed)
{
    if (!history.active || history.limit <= 0)
        return false;
    std::string entry = historyEntry(typed);
    // The file holds UTF-8 lines only; anything else would be lost there.
    if (entry.empty() || !isValidUtf8(entry))
        return false;
    auto& entries = history.entries;
    entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
    entries.insert(entries.begin(), std::move(entry));
    if (entries.size() > static_cast<std::size_t>(history.limit))
        entries.resize(static_cast<std::size_t>(history.limit));
    return true;
}

bool forget(History& history, std::string_view entry)
{
    auto& entries = history.entries;
    const auto it = std::find(entries.begin(), entries.end(), entry);
    if (it == entries.end())
        return false;
    entries.erase(it);
    return true;
}

std::vector<std::string> parseHistory(std::string_view bytes, int limit)
{
    std::vector<std::string> entries;
    std::size_t at = 0;
    while (at < bytes.size() && static_cast<int>(entries.size()) < limit) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = withoutLeadingMarks(line);
        if (line.empty() || line.find('\r') != std::string_view::npos || !isValidUtf8(line) ||
            codePointCount(line) > kMaxHistoryEntryLength)
            continue;
        if (std::find(entries.begin(), entries.end(), line) == entries.end())
            entries.emplace_back(line);
    }
    return entries;
}

std::string composeHistory(const std::vector<std::string>& entries)
{
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry;
        bytes += "\r\n";
    }
    return bytes;
}

std::size_t historyBytesNeeded(int limit)
{
    // Four bytes a character at most, and the line end.
    return static_cast<std::size_t>(std::clamp(limit, 0, kMaxHistoryLimit)) * (kMaxHistoryEntryLength * 4 + 2);
}

std::optional<std::string> walkOlder(HistoryWalk& walk, const History& history, std::string_view fieldText)
{
    if (walk.position + 1 >= static_cast<int>(history.entries.size()))
        return std::nullopt;
    if (walk.position < 0)
        walk.typed = std::string(fieldText);
    ++walk.position;
    walk.shown = history.entries[static_cast<std::size_t>(walk.position)];
    return walk.shown;
}

std::optional<std::string> walkNewer(HistoryWalk& walk, const History& history)
{
    if (walk.position < 0)
        return std::nullopt;
    --walk.position;
    walk.shown = walk.position < 0 ? walk.typed : history.entries[static_cast<std::size_t>(walk.position)];
    return walk.shown;
}

}  // namespace tellurix
