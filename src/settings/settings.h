#pragma once

#include <string>
#include <string_view>

namespace tellurix {

// The three values the program keeps between runs.
struct Settings {
    int FPS = 0;             // 1: the first-start notice is still due
    int Design = 0;          // design number, 200..213
    std::string Suchseite;   // label of the chosen search site
};

inline constexpr std::string_view kSettingsGroup = "Einstellungen";
inline constexpr std::string_view kSettingsFileName = "Einstellungen.ini";
inline constexpr int kDefaultFPS = 1;
inline constexpr int kDefaultDesign = 203;

// Path of the settings file for a program name: %appdata%\Brenmoor\<name>\<file>.
std::string settingsFilePath(std::string_view programName, std::string_view fileName);

void ensureSettingsFolders(std::string_view programName);
void ensureSettingsFile(std::string_view programName, std::string_view fileName);
void loadSettings(std::string_view programName, std::string_view fileName, Settings& settings);
// Writes FPS, Design and Suchseite (the caller sets Suchseite from the site label first).
// False when the file could not be written; the old file then stays as it was.
bool saveSettings(std::string_view programName, std::string_view fileName, const Settings& settings);

}  // namespace tellurix
