#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The searches the user made, newest first, and the walk through them with
// Up and Down in the search field.
namespace tellurix {

inline constexpr int kDefaultHistoryLimit = 50;
inline constexpr int kMaxHistoryLimit = 500;
inline constexpr std::size_t kMaxHistoryEntryLength = 500;  // characters

struct History {
    std::vector<std::string> entries;  // newest first, no two alike
    int limit = kDefaultHistoryLimit;
    bool active = true;
};

// The text as it is remembered: without a byte order mark in front, line breaks
// become blanks, cut to 500 characters.
std::string historyEntry(std::string_view typed);
// Puts the search in front (moving it there when it was remembered before) and
// keeps at most `limit` entries. False when nothing changed (not active, empty,
// not UTF-8).
bool remember(History& history, std::string_view typed);
// Removes one entry; false when there was none such.
bool forget(History& history, std::string_view entry);

// The entries of a history file: one a line, newest first, each without a
// byte order mark in front (Notepad's "UTF-8 mit BOM" puts one before the
// first). Lines that are not UTF-8, empty, too long or repeated are dropped; at
// most `limit` are taken.
std::vector<std::string> parseHistory(std::string_view bytes, int limit);
// The bytes of a history file: UTF-8 without a byte order mark, CR LF lines.
std::string composeHistory(const std::vector<std::string>& entries);
// The most a file of `limit` entries can take, in bytes: read no more than that.
std::size_t historyBytesNeeded(int limit);

// Where Up and Down have taken the search field: -1 is what the user typed.
struct HistoryWalk {
    int position = -1;
    std::string typed;  // the text before the first Up
    std::string shown;  // what the walk put into the field last
};

// The next older entry (the typed text is kept on the first step); nothing
// when there is none.
std::optional<std::string> walkOlder(HistoryWalk& walk, const History& history, std::string_view fieldText);
// The next newer entry, or past the newest the text the user had typed.
std::optional<std::string> walkNewer(HistoryWalk& walk, const History& history);

}  // namespace tellurix
