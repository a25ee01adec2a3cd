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

History loadHistory(std::string_view programName, PreferencesFile& settings)
{
    History history;
    settings.selectGroup(kHistoryGroup);
    history.limit = std::clamp(settings.readInteger("Anzahl", kDefaultHistoryLimit), 0, kMaxHistoryLimit);
    history.active = settings.readInteger("Aktiv", 1) != 0;

    const std::string path = historyFilePath(programName);
    if (!history.active) {
        deleteHistoryFile(programName);
        return history;
    }
    const std::size_t needed = historyBytesNeeded(history.limit);
    if (auto bytes = platform::readFileStart(path, needed)) {
        // A line cut off where the reading stopped is no entry.
        if (bytes->size() == needed)
            bytes->resize(bytes->rfind('\n') + 1);
        history.entries = parseHistory(*bytes, history.limit);
    }
    return history;
}

bool saveHistory(std::string_view programName, const History& history)
{
    return platform::replaceFile(historyFilePath(programName), composeHistory(history.entries));
}

void deleteHistoryFile(std::string_view programName)
{
    const std::string path = historyFilePath(programName);
    if (platform::pathKind(path) == platform::PathKind::File)
        platform::deleteFile(path);
}

}  // namespace tellurix
