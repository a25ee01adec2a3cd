#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"
#include "platform/files.h"

namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kSettingsGroup = "Einstellungen";
inline constexpr std::string_view kSettingsFileName = "Einstellungen.ini";

// Path of the settings file for a program name: %appdata%\Brenmoor\<name>\<file>.
std::string settingsFilePath(std::string_view programName, std::string_view fileName);

// False when a folder is missing and could not be made.
[[nodiscard]] bool ensureSettingsFolders(std::string_view programName);
// False when there was no file and none could be made.
[[nodiscard]] bool ensureSettingsFile(std::string_view programName, std::string_view fileName);
// The defaults for what the file does not say; a file that could not be read
// says nothing (Unreadable).
[[nodiscard]] platform::ReadOutcome loadSettings(std::string_view programName, std::string_view fileName,
                                                 Settings& settings);
// The same from a document read already (start-up reads the file once for all it needs).
void readSettings(PreferencesFile& file, Settings& settings);
// Writes FPS, Design and Suchseite (the caller sets Suchseite from the site
// label first). A file that holds these values already is not touched. False
// when the file could not be read or written; it then stays as it was.
[[nodiscard]] bool saveSettings(std::string_view programName, std::string_view fileName, const Settings& settings);

}  // namespace tellurix
