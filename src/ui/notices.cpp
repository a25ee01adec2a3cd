#include "ui/notices.h"

#include "app/identity.h"
#include "platform/notices.h"

namespace tellurix {
namespace {

constexpr std::string_view kInformationTitle = "Informationen";
// Starts by ending the display name's line and leaving one empty; a lone CR
// breaks the line, as in every message text of the program.
constexpr std::string_view kAboutText =
    "\r"
    "\r"
    "Tellurix startet Websuchen aus einer schmalen Suchleiste, die im Hintergrund bereitsteht.\r"
    "\r"
    "Aufrufen: linke Strg-Taste + linke Umschalttaste + S, oder ein Klick auf das Symbol im Infobereich.\r"
    "Ein Klick auf die Suchseite links wählt eine andere Seite aus, Enter startet die Suche im Standardbrowser.\r"
    "\r"
    "Die Einstellungen stehen in:\r"
    "%APPDATA%\\Brenmoor\\Tellurix\\Einstellungen.ini";

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
    std::string text(kProgramName);
    text += ' ';
    text += kVersion;
    text += kAboutText;
    return text;
}

void showInformationBox()
{
    showNotice(kInformationTitle, informationText());
}

}  // namespace tellurix
