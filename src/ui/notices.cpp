#include "ui/notices.h"

#include "app/identity.h"
#include "platform/notices.h"

namespace tellurix {
namespace {

constexpr std::string_view kInformationTitle = "Informationen";
constexpr std::string_view kAboutText =
    "Tellurix ruft mit Strg + Shift + S (linke Tasten) eine schmale Suchleiste auf.\r"
    "Suchseite anklicken, um eine von 93 Suchseiten zu wählen; Suchbegriff eingeben\r"
    "und mit Enter suchen. Das Ergebnis öffnet sich im Standardbrowser.\r"
    "Die Einstellungen liegen in %APPDATA%\\Brenmoor\\Tellurix\\Einstellungen.ini.";

}  // namespace

void addBalloonTip(int control, std::string_view text, std::string_view title, int icon)
{
    platform::addBalloonTip(control, text, title, icon);
}

void showNotice(std::string_view title, std::string_view text)
{
    platform::showMessageBox(title, text);
}

std::string informationText()
{
    // The display name is the first line; the about text starts on its own lines.
    std::string text(kProgramName);
    text += ' ';
    text += kVersion;
    text += "\r\r";
    text += kAboutText;
    return text;
}

void showInformationBox()
{
    showNotice(kInformationTitle, informationText());
}

}  // namespace tellurix
