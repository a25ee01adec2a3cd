#include "settings/history_file.h"

#include <algorithm>

#include "platform/files.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"

namespace tellurix {

std::string historyFilePath(std::string_view programName)
{
    return settingsFilePath(programName, kHistoryFileName);
}

LoadedHistory loadHistory(std::string_view programName, PreferencesFile& settings)
{
    History history;
    settings.selectGroup(kHistoryGroup);
    history.limit = std::clamp(settings.readInteger("Anzahl", kDefaultHistoryLimit), 0, kMaxHistoryLimit);
    history.active = settings.readInteger("Aktiv", 1) != 0;
    if (!history.active) {
        // Switched off: no file is wanted. One that cannot be deleted now is
        // tried again at the next start.
        static_cast<void>(deleteHistoryFile(programName));
        return {std::move(history), platform::ReadOutcome::Missing};
    }
    return readHistoryFile(programName, std::move(history));
}

LoadedHistory readHistoryFile(std::string_view programName, History history)
{
    const std::size_t needed = historyBytesNeeded(history.limit);
    platform::FileContent content = platform::readFileStart(historyFilePath(programName), needed);
    std::string& bytes = content.bytes;
    // A line cut off where the reading stopped is no entry.
    if (bytes.size() == needed)
        bytes.resize(bytes.rfind('\n') + 1);
    history.entries = parseHistory(bytes, history.limit);
    return {std::move(history), content.outcome};
}

bool saveHistory(std::string_view programName, const History& history)
{
    return platform::replaceFile(historyFilePath(programName), composeHistory(history.entries));
}

bool deleteHistoryFile(std::string_view programName)
{
    const std::string path = historyFilePath(programName);
    return platform::pathKind(path) != platform::PathKind::File || platform::deleteFile(path);
}

}  // namespace tellurix
