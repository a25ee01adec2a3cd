#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"
#include "search/history.h"

// The search history in "Verlauf.txt" beside the settings file, and its two
// keys in the settings file's group "[Verlauf]": `Anzahl` (entries kept, 0 to
// 500) and `Aktiv` (1 or 0). The program reads those keys and never writes them.
namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kHistoryFileName = "Verlauf.txt";
inline constexpr std::string_view kHistoryGroup = "Verlauf";

std::string historyFilePath(std::string_view programName);

// The history as the settings file asks for it, and how its file was read.
struct LoadedHistory {
    History history;
    // Unreadable: the entries are not known, and the file must not be saved over.
    platform::ReadOutcome file = platform::ReadOutcome::Missing;
};

// The history as the settings file asks for it, with the entries of the
// history file (read no further than the kept entries need). Switched off, it
// is empty and a history file there is deleted (tried again at the next start
// when that fails).
[[nodiscard]] LoadedHistory loadHistory(std::string_view programName, PreferencesFile& settings);
// The entries of the history file alone, for a file that was unreadable before.
[[nodiscard]] LoadedHistory readHistoryFile(std::string_view programName, History history);
// Writes the history file in one step (temporary file, then replace): a killed
// program leaves the old or the new file. False when it could not be written.
[[nodiscard]] bool saveHistory(std::string_view programName, const History& history);
// True when no history file is left.
[[nodiscard]] bool deleteHistoryFile(std::string_view programName);

}  // namespace tellurix
