#include "settings/hotkey_setting.h"

#include "settings/preferences_file.h"
#include "settings/settings.h"

namespace tellurix {

HotkeySetting readHotkeySetting(PreferencesFile& file)
{
    file.selectGroup(kSettingsGroup);
    HotkeySetting setting;
    const std::string fullScreen = file.readString(kFullScreenKey, "");
    setting.overFullScreen = fullScreen == "1";
    if (!fullScreen.empty() && fullScreen != "0" && fullScreen != "1")
        setting.badFullScreen = fullScreen;

    const std::string value = file.readString(kHotkeyKey, "");
    if (value.empty())
        return setting;
    ChordReading reading = readChord(value);
    if (reading.chord) {
        setting.chord = *reading.chord;
    } else {
        setting.badValue = value;
        setting.problem = std::move(reading.problem);
    }
    return setting;
}

std::string hotkeyNotice(const HotkeySetting& setting)
{
    std::string notice;
    if (!setting.problem.empty()) {
        notice = std::string(kHotkeyKey) + " = " + setting.badValue + "\r" + setting.problem + ".\rEs gilt " +
                 describeChord(kStandardChord) + ".";
    }
    if (!setting.badFullScreen.empty()) {
        notice += (notice.empty() ? "" : "\r") + std::string(kFullScreenKey) + " = " + setting.badFullScreen +
                  "\rErlaubt sind 0 und 1. Über Spielen und Präsentationen im Vollbild wirkt das Tastenkürzel nicht.";
    }
    return notice;
}

}  // namespace tellurix
