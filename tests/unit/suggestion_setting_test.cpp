// "[Vorschlaege]" in the settings file: off unless switched on, and a bad
// value keeps suggestions off and is named in the balloon.
#include <gtest/gtest.h>

#include <string>

#include "settings/preferences_file.h"
#include "settings/suggestion_setting.h"

namespace tellurix {
namespace {

TEST(SuggestionSetting, OnOnlyWithGoodValues)
{
    const std::string standard(kStandardSuggestionSource);
    const std::string local = "http://127.0.0.1:8765/s?q=%s";
    const struct {
        const char* file;
        bool active;
        std::string source;
        const char* notice;
    } cases[] = {
        {"[Einstellungen]\r\nFPS = 0\r\n", false, standard, ""},
        {"[Vorschlaege]\r\nQuelle = http://127.0.0.1:8765/s?q=%s\r\n", false, local, ""},
        {"[Vorschlaege]\r\nAktiv = 0\r\n", false, standard, ""},
        {"[Vorschlaege]\r\nAktiv = 1\r\n", true, standard, ""},
        {"[vorschlaege]\nAktiv=1\nQuelle=http://127.0.0.1:8765/s?q=%s  \n", true, local, ""},
        {"[Vorschlaege]\r\nAktiv = 1\r\nQuelle =\r\n", true, standard, ""},
        {"[Vorschlaege]\r\nAktiv = ja\r\n", false, standard,
         "Aktiv = ja\rWert ist weder 0 noch 1.\rVorschläge aus dem Netz bleiben aus."},
        {"[Vorschlaege]\r\nAktiv = 1\r\nQuelle = https://example.org/?q=%s&x=%s\r\n", false, standard,
         "Quelle = https://example.org/?q=%s&x=%s\rAdresse mit mehr als einem %s.\r"
         "Vorschläge aus dem Netz bleiben aus."},
        {"[Vorschlaege]\r\nAktiv = 2\r\nQuelle = ftp://example.org/suggestions/for/the/term/%s/as/json\r\n", false,
         standard,
         "Aktiv = 2\rWert ist weder 0 noch 1.\r"
         "Quelle = ftp://example.org/suggestions/for/the/t…\rAdresse ohne http:// oder https:// am Anfang.\r"
         "Vorschläge aus dem Netz bleiben aus."},
        {"[Vorschlaege]\r\nAktiv = 0\r\nQuelle = https://example.org/?q=%s x\r\n", false, standard,
         "Quelle = https://example.org/?q=%s x\rAdresse mit Leerzeichen oder Steuerzeichen.\r"
         "Vorschläge aus dem Netz bleiben aus."},
    };
    for (const auto& c : cases) {
        PreferencesFile file;
        file.parse(c.file);
        const SuggestionSetting setting = readSuggestionSetting(file);
        EXPECT_EQ(setting.active, c.active) << c.file;
        EXPECT_EQ(setting.source, c.source) << c.file;
        EXPECT_EQ(suggestionNotice(setting), c.notice) << c.file;
        EXPECT_FALSE(file.isModified()) << "the program never writes these keys";
    }
}

}  // namespace
}  // namespace tellurix
