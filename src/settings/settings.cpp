#include "settings/settings.h"

#include "platform/files.h"
#include "search/catalogue.h"
#include "settings/preferences_file.h"

namespace tellurix {

namespace {

constexpr std::string_view kKeyFPS = "FPS";
constexpr std::string_view kKeyDesign = "Design";
constexpr std::string_view kKeySuchseite = "Suchseite";

std::string vendorFolder()
{
    return platform::environmentVariable("appdata") + "\\Brenmoor\\";
}

std::string programFolder(std::string_view programName)
{
    return vendorFolder() + std::string(programName) + "\\";
}

// Folders are named and tested without their trailing separator.
void ensureFolder(const std::string& folderWithSeparator)
{
    const std::string folder = folderWithSeparator.substr(0, folderWithSeparator.size() - 1);
    if (platform::pathKind(folder) != platform::PathKind::Folder)
        platform::createFolder(folder);
}

}  // namespace

std::string settingsFilePath(std::string_view programName, std::string_view fileName)
{
    return programFolder(programName) + std::string(fileName);
}

void ensureSettingsFolders(std::string_view programName)
{
    ensureFolder(vendorFolder());
    ensureFolder(programFolder(programName));
}

void ensureSettingsFile(std::string_view programName, std::string_view fileName)
{
    const std::string path = settingsFilePath(programName, fileName);
    // Whatever stands there (even a folder) belongs to the user.
    if (platform::pathKind(path) != platform::PathKind::None)
        return;

    PreferencesFile file;
    if (!file.create(path))
        return;
    file.selectGroup(kSettingsGroup);
    file.writeInteger(kKeyFPS, kDefaultFPS);
    file.writeInteger(kKeyDesign, kDefaultDesign);
    file.writeString(kKeySuchseite, defaultSiteLabel());
    file.close();
}

void readSettings(PreferencesFile& file, Settings& settings)
{
    file.selectGroup(kSettingsGroup);
    settings.FPS = file.readInteger(kKeyFPS, kDefaultFPS);
    settings.Design = file.readInteger(kKeyDesign, kDefaultDesign);
    settings.Suchseite = file.readString(kKeySuchseite, defaultSiteLabel());
}

void loadSettings(std::string_view programName, std::string_view fileName, Settings& settings)
{
    PreferencesFile file;
    file.open(settingsFilePath(programName, fileName));
    readSettings(file, settings);
    file.close();
}

bool saveSettings(std::string_view programName, std::string_view fileName, const Settings& settings)
{
    PreferencesFile file;
    file.open(settingsFilePath(programName, fileName));
    file.selectGroup(kSettingsGroup);
    file.writeInteger(kKeyFPS, settings.FPS);
    file.writeInteger(kKeyDesign, settings.Design);
    file.writeString(kKeySuchseite, settings.Suchseite);
    return file.close();
}

}  // namespace tellurix
