#include "settings/hotkey_setting.h"

#include "settings/preferences_file.h"
#include "settings/settings.h"

namespace tellurix {

HotkeySetting readHotkeySetting(PreferencesFile& file)
{
    file.selectGroup(kSettingsGroup);
    const std::string value = file.readString(kHotkeyKey, "");
    if (value.empty())
        return {};
    ChordReading reading = readChord(value);
    if (reading.chord)
        return {*reading.chord, {}, {}};
    return {kStandardChord, value, std::move(reading.problem)};
}

std::string hotkeyNotice(const HotkeySetting& setting)
{
    if (setting.problem.empty())
        return {};
    return std::string(kHotkeyKey) + " = " + setting.badValue + "\r" + setting.problem + ".\rEs gilt " +
           describeChord(kStandardChord) + ".";
}

}  // namespace tellurix
