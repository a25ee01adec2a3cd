#include "ui/notices.h"

#include "core/identity.h"
#include "platform/notices.h"

namespace tellurix {
namespace {

constexpr std::string_view kInformationTitle = "Informationen";
// Starts by ending the display name's line and leaving one empty; a lone CR
// breaks the line, as in every message text of the program.
constexpr std::string_view kAboutLead =
    "\r"
    "\r"
    "Websuchen aus einer schmalen Suchleiste.\r"
    "\r"
    "Aufrufen mit ";
constexpr std::string_view kAboutText =
    "\r"
    "oder mit einem Klick auf das Symbol im Infobereich.\r"
    "Ein Klick auf die Suchseite wählt eine andere aus,\r"
    "Enter startet die Suche im Standardbrowser.\r"
    "\r"
    "Eigene Suchseiten tragen Sie in der Einstellungsdatei unter\r"
    "[Eigene Suchseiten] ein: Name = Adresse, %s steht für den Suchbegriff.\r"
    "Kürzel stehen unter [Kuerzel]: Kürzel = Name der Suchseite.\r"
    "So sucht \"!w Berlin\" in der Wikipedia.\r"
    "\r"
    "Alt + Pfeil nach unten (oder F4): Liste der Suchseiten.\r"
    "Pfeil nach oben/unten: frühere Suchen (Suchverlauf) und die\r"
    "Vorschläge unter dem Suchfeld, Strg + Shift + Entf löscht den Verlauf.\r"
    "\r"
    "Vorschläge aus dem Netz schalten Sie unter [Vorschlaege] mit Aktiv = 1 ein.\r"
    "Dann geht beim Tippen der Suchbegriff (nie ein Kürzel) an die Quelle:\r"
    "Quelle = Adresse mit %s, ohne Angabe die Vorschläge von Google.\r"
    "\r"
    "Eine andere Tastenkombination zum Aufrufen steht unter\r"
    "[Einstellungen], zum Beispiel: Tastenkuerzel = Strg+Alt+K\r"
    "\r"
    "Einstellungen:\r"
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

std::string informationText(const HotkeyChord& chord)
{
    return displayName() + std::string(kAboutLead) + describeChord(chord) + std::string(kAboutText);
}

void showInformationBox(const HotkeyChord& chord)
{
    showNotice(kInformationTitle, informationText(chord));
}

}  // namespace tellurix
