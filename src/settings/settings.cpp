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
bool ensureFolder(const std::string& folderWithSeparator)
{
    const std::string folder = folderWithSeparator.substr(0, folderWithSeparator.size() - 1);
    return platform::pathKind(folder) == platform::PathKind::Folder || platform::createFolder(folder);
}

}  // namespace

std::string settingsFilePath(std::string_view programName, std::string_view fileName)
{
    return programFolder(programName) + std::string(fileName);
}

bool ensureSettingsFolders(std::string_view programName)
{
    return ensureFolder(vendorFolder()) && ensureFolder(programFolder(programName));
}

bool ensureSettingsFile(std::string_view programName, std::string_view fileName)
{
    const std::string path = settingsFilePath(programName, fileName);
    // Whatever stands there (even a folder) belongs to the user.
    if (platform::pathKind(path) != platform::PathKind::None)
        return true;

    PreferencesFile file;
    if (!file.create(path))
        return false;
    file.selectGroup(kSettingsGroup);
    file.writeInteger(kKeyFPS, kDefaultFPS);
    file.writeInteger(kKeyDesign, kDefaultDesign);
    file.writeString(kKeySuchseite, defaultSiteLabel());
    return file.close();
}

void readSettings(PreferencesFile& file, Settings& settings)
{
    file.selectGroup(kSettingsGroup);
    settings.FPS = file.readInteger(kKeyFPS, kDefaultFPS);
    settings.Design = file.readInteger(kKeyDesign, kDefaultDesign);
    settings.Suchseite = file.readString(kKeySuchseite, defaultSiteLabel());
}

platform::ReadOutcome loadSettings(std::string_view programName, std::string_view fileName, Settings& settings)
{
    PreferencesFile file;
    const platform::ReadOutcome read = file.open(settingsFilePath(programName, fileName));
    readSettings(file, settings);
    return read;
}

bool saveSettings(std::string_view programName, std::string_view fileName, const Settings& settings)
{
    PreferencesFile file;
    // The file is read again: what the user changed in it meanwhile stays. One
    // that cannot be read is not written over (close refuses it).
    if (file.open(settingsFilePath(programName, fileName)) == platform::ReadOutcome::Unreadable)
        return false;
    file.selectGroup(kSettingsGroup);
    file.writeInteger(kKeyFPS, settings.FPS);
    file.writeInteger(kKeyDesign, settings.Design);
    file.writeString(kKeySuchseite, settings.Suchseite);
    return file.close();
}

}  // namespace tellurix
