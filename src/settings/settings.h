#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"

namespace tellurix {

class PreferencesFile;

inline constexpr std::string_view kSettingsGroup = "Einstellungen";
inline constexpr std::string_view kSettingsFileName = "Einstellungen.ini";

// Path of the settings file for a program name: %appdata%\Brenmoor\<name>\<file>.
std::string settingsFilePath(std::string_view programName, std::string_view fileName);

void ensureSettingsFolders(std::string_view programName);
void ensureSettingsFile(std::string_view programName, std::string_view fileName);
void loadSettings(std::string_view programName, std::string_view fileName, Settings& settings);
// The same from a document read already (start-up reads the file once for all it needs).
void readSettings(PreferencesFile& file, Settings& settings);
// Writes FPS, Design and Suchseite (the caller sets Suchseite from the site label first).
// False when the file could not be written; the old file then stays as it was.
bool saveSettings(std::string_view programName, std::string_view fileName, const Settings& settings);

}  // namespace tellurix
