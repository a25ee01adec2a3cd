#include "core/hotkey_chord.h"

#include <array>
#include <vector>

namespace tellurix {
namespace {

enum class Modifier { Control, Shift, Alt, Windows };

struct ModifierName {
    std::string_view name;  // lower case
    Modifier modifier;
    Side side;
};

constexpr std::array<ModifierName, 12> kModifierNames{{
    {"strg", Modifier::Control, Side::Either},
    {"lstrg", Modifier::Control, Side::Left},
    {"rstrg", Modifier::Control, Side::Right},
    {"umschalt", Modifier::Shift, Side::Either},
    {"lumschalt", Modifier::Shift, Side::Left},
    {"rumschalt", Modifier::Shift, Side::Right},
    {"alt", Modifier::Alt, Side::Either},
    {"lalt", Modifier::Alt, Side::Left},
    {"ralt", Modifier::Alt, Side::Right},
    {"win", Modifier::Windows, Side::Either},
    {"lwin", Modifier::Windows, Side::Left},
    {"rwin", Modifier::Windows, Side::Right},
}};

constexpr std::string_view kSpaceName = "leertaste";

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

const ModifierName* findModifier(std::string_view lower)
{
    for (const ModifierName& entry : kModifierNames)
        if (entry.name == lower)
            return &entry;
    return nullptr;
}

// The virtual key of a key name (lower case), or 0.
int keyOf(std::string_view lower)
{
    if (lower.size() == 1 && lower[0] >= 'a' && lower[0] <= 'z')
        return lower[0] - 'a' + 'A';
    if (lower.size() == 1 && lower[0] >= '0' && lower[0] <= '9')
        return lower[0];
    if (lower == kSpaceName)
        return kVkSpace;
    if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f' && lower[1] >= '1' && lower[1] <= '9') {
        int number = lower[1] - '0';
        if (lower.size() == 3) {
            if (lower[2] < '0' || lower[2] > '9')
                return 0;
            number = number * 10 + (lower[2] - '0');
        }
        if (number <= 24)
            return kVkF1 + number - 1;
    }
    return 0;
}

Side& sideOf(HotkeyChord& chord, Modifier modifier)
{
    switch (modifier) {
    case Modifier::Control: return chord.control;
    case Modifier::Shift: return chord.shift;
    case Modifier::Alt: return chord.alt;
    case Modifier::Windows: break;
    }
    return chord.windows;
}

bool sideMatches(Side side, bool left, bool right)
{
    switch (side) {
    case Side::None: return !left && !right;
    case Side::Either: return left || right;
    case Side::Left: return left && !right;
    case Side::Right: return right && !left;
    }
    return false;
}

std::vector<std::string_view> splitAtPlus(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t plus = text.find('+');
        parts.push_back(trimBlanks(text.substr(0, plus)));
        if (plus == std::string_view::npos)
            return parts;
        text.remove_prefix(plus + 1);
    }
}

// Modifiers a refused chord leaves open: they may be held or not.
enum FreeModifiers : unsigned { kNoneFree = 0, kControlFree = 1, kShiftFree = 2, kAltFree = 4, kWindowsFree = 8 };

constexpr Side E = Side::Either, N = Side::None;

// A chord Windows keeps or every program needs, and what it does there.
struct TakenChord {
    HotkeyChord chord;  // the modifiers it needs held (Either) and its first key
    int lastKey;        // the keys from chord.key to this one
    unsigned free;      // modifiers that may be held besides without changing what happens
    std::string_view owner;
    std::string_view use;
};

constexpr std::string_view kWindows = "gehört Windows";
constexpr std::string_view kEveryProgram = "gehört jedem Programm";

constexpr TakenChord windowsChord(Side control, Side shift, Side alt, int key, std::string_view use)
{
    return {{control, shift, alt, E, key}, key, kNoneFree, kWindows, use};
}

// The Windows 11 chords of the Windows key as Microsoft lists them in "Keyboard
// shortcuts in Windows", and the two every window answers. A chord of the
// Windows key with more modifiers is refused only where Windows names it too
// (Win+Umschalt+S for the snipping tool, say): Win+Umschalt+K does nothing
// in Windows, and the chord holds exactly its modifiers, so Win+K's Cast panel
// does not come up with it. Only the digits, L and the space bar go whatever
// else is held.
constexpr std::array<TakenChord, 42> kTakenChords{{
    // Windows locks on L while a Windows key is down, whatever else is down,
    // before a keyboard hook sees the key.
    {{N, N, N, E, 'L'},
     'L',
     kControlFree | kShiftFree | kAltFree,
     kWindows,
     "sperrt den Computer, bevor ein Programm die Taste sieht"},
    // With Shift, Ctrl, Alt or Ctrl+Shift besides: a new window, the last
    // window, the jump list, as administrator.
    {{N, N, N, E, '0'}, '9', kControlFree | kShiftFree | kAltFree, kWindows, "startet die Programme der Taskleiste"},
    {{N, N, N, E, kVkSpace}, kVkSpace, kControlFree | kShiftFree | kAltFree, kWindows, "wechselt die Eingabesprache"},
    // A key pressed with Alt and without Ctrl is a system key to the window in
    // front, whether Shift or a Windows key is held or not.
    {{N, N, E, N, kVkF4}, kVkF4, kShiftFree | kWindowsFree, kEveryProgram, "schließt das Fenster"},
    {{N, N, E, N, kVkSpace}, kVkSpace, kShiftFree | kWindowsFree, kEveryProgram, "öffnet das Fenstermenü"},
    windowsChord(N, N, N, 'A', "öffnet die Schnelleinstellungen"),
    windowsChord(N, N, N, 'B', "springt in die Ecke der Taskleiste"),
    windowsChord(N, N, N, 'C', "öffnet Copilot"),
    windowsChord(N, N, N, 'D', "zeigt den Desktop"),
    windowsChord(N, N, N, 'E', "öffnet den Explorer"),
    windowsChord(N, N, N, 'F', "öffnet den Feedback-Hub"),
    windowsChord(N, N, N, 'G', "öffnet die Xbox Game Bar"),
    windowsChord(N, N, N, 'H', "startet die Spracheingabe"),
    windowsChord(N, N, N, 'I', "öffnet die Einstellungen"),
    windowsChord(N, N, N, 'J', "springt zu einem Windows-Tipp"),
    windowsChord(N, N, N, 'K', "öffnet „Übertragen“"),
    windowsChord(N, N, N, 'M', "minimiert alle Fenster"),
    windowsChord(N, N, N, 'N', "öffnet Benachrichtigungen und Kalender"),
    windowsChord(N, N, N, 'O', "sperrt die Bildschirmdrehung"),
    windowsChord(N, N, N, 'P', "wählt die Anzeige für Projektoren"),
    windowsChord(N, N, N, 'R', "öffnet „Ausführen“"),
    windowsChord(N, N, N, 'S', "öffnet die Suche"),
    windowsChord(N, N, N, 'T', "geht durch die Programme der Taskleiste"),
    windowsChord(N, N, N, 'U', "öffnet die Barrierefreiheit"),
    windowsChord(N, N, N, 'V', "öffnet den Verlauf der Zwischenablage"),
    windowsChord(N, N, N, 'W', "öffnet die Widgets"),
    windowsChord(N, N, N, 'X', "öffnet das Schnellzugriffsmenü"),
    windowsChord(N, N, N, 'Y', "wechselt zu Windows Mixed Reality"),
    windowsChord(N, N, N, 'Z', "öffnet die Andocklayouts"),
    windowsChord(N, E, N, 'C', "öffnet das Charms-Menü"),
    windowsChord(N, E, N, 'M', "holt minimierte Fenster zurück"),
    windowsChord(N, E, N, 'S', "nimmt einen Bildschirmausschnitt auf"),
    windowsChord(N, E, N, 'V', "springt zu einer Benachrichtigung"),
    windowsChord(E, N, N, 'C', "schaltet die Farbfilter ein"),
    windowsChord(E, N, N, 'D', "legt einen virtuellen Desktop an"),
    windowsChord(E, N, N, 'F', "sucht Computer im Netzwerk"),
    windowsChord(E, N, N, 'Q', "öffnet die Remotehilfe"),
    windowsChord(E, N, N, kVkF4, "schließt den virtuellen Desktop"),
    windowsChord(N, N, E, 'B', "schaltet HDR ein oder aus"),
    windowsChord(N, N, E, 'K', "schaltet das Mikrofon stumm"),
    windowsChord(N, N, E, 'R', "zeichnet das Spiel auf"),
    windowsChord(E, E, N, 'B', "weckt den Bildschirm auf"),
}};

bool isHeld(Side side)
{
    return side != Side::None;
}

bool takes(const TakenChord& taken, const HotkeyChord& chord)
{
    const auto fits = [&taken](Side wanted, Side given, unsigned free) {
        return (taken.free & free) != 0 || isHeld(wanted) == isHeld(given);
    };
    return chord.key >= taken.chord.key && chord.key <= taken.lastKey &&
           fits(taken.chord.control, chord.control, kControlFree) && fits(taken.chord.shift, chord.shift, kShiftFree) &&
           fits(taken.chord.alt, chord.alt, kAltFree) && fits(taken.chord.windows, chord.windows, kWindowsFree);
}

// The key as both the settings file and the program's texts name it.
std::string keyName(int key)
{
    if (key == kVkSpace)
        return "Leertaste";
    if (key >= kVkF1 && key <= kVkF24)
        return "F" + std::to_string(key - kVkF1 + 1);
    return std::string(1, static_cast<char>(key));
}

ChordReading problem(std::string text)
{
    return {std::nullopt, std::move(text)};
}

std::string quoted(std::string_view name)
{
    return "„" + std::string(name) + "“";
}

}  // namespace

bool modifiersMatch(const HotkeyChord& chord, const ModifierKeys& held)
{
    return sideMatches(chord.control, held.leftControl, held.rightControl) &&
           sideMatches(chord.shift, held.leftShift, held.rightShift) &&
           sideMatches(chord.alt, held.leftAlt, held.rightAlt) &&
           sideMatches(chord.windows, held.leftWindows, held.rightWindows);
}

bool holdsMenuModifier(const HotkeyChord& chord)
{
    return chord.alt != Side::None || chord.windows != Side::None;
}

ChordReading readChord(std::string_view text)
{
    const std::vector<std::string_view> parts = splitAtPlus(text);
    HotkeyChord chord{Side::None, Side::None, Side::None, Side::None, 0};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty())
            return problem("Zwischen zwei „+“ fehlt ein Name");
        const std::string lower = lowerAscii(parts[i]);
        const bool last = i + 1 == parts.size();
        if (const ModifierName* modifier = findModifier(lower)) {
            if (last)
                return problem("Nach den Umschalttasten fehlt die Taste");
            Side& side = sideOf(chord, modifier->modifier);
            if (side != Side::None)
                return problem(quoted(parts[i]) + " nennt eine Umschalttaste zum zweiten Mal");
            side = modifier->side;
            continue;
        }
        const int key = keyOf(lower);
        if (key == 0)
            return problem(quoted(parts[i]) + " ist keine Taste, die Tellurix kennt");
        if (!last)
            return problem("Nach der Taste " + quoted(parts[i]) + " darf nichts mehr folgen");
        chord.key = key;
    }
    const bool freeStanding = chord.key >= kVkF13 && chord.key <= kVkF24;
    if (!freeStanding && chord.control == Side::None && chord.alt == Side::None && chord.windows == Side::None)
        return problem(
            "Es braucht Strg, Alt oder Win dazu (Umschalt allein nimmt allen anderen Programmen eine "
            "Taste)");
    for (const TakenChord& taken : kTakenChords) {
        if (takes(taken, chord)) {
            HotkeyChord named = taken.chord;
            named.key = chord.key;
            return problem(spellChord(named) + " " + std::string(taken.owner) + ": " + std::string(taken.use));
        }
    }
    return {chord, {}};
}

std::string describeChord(const HotkeyChord& chord)
{
    std::string text;
    const auto add = [&text](Side side, std::string_view name) {
        if (side == Side::None)
            return;
        if (side == Side::Left)
            text += "linker ";
        else if (side == Side::Right)
            text += "rechter ";
        text += name;
        text += " + ";
    };
    add(chord.control, "Strg");
    add(chord.shift, "Shift");
    add(chord.alt, "Alt");
    add(chord.windows, "Win");
    return text + keyName(chord.key);
}

std::string spellChord(const HotkeyChord& chord)
{
    std::string text;
    const auto add = [&text](Side side, std::string_view name) {
        if (side == Side::None)
            return;
        if (side == Side::Left)
            text += 'L';
        else if (side == Side::Right)
            text += 'R';
        text += name;
        text += '+';
    };
    // The Windows key first, as Windows names its own chords.
    add(chord.windows, "Win");
    add(chord.control, "Strg");
    add(chord.shift, "Umschalt");
    add(chord.alt, "Alt");
    return text + keyName(chord.key);
}

std::uint32_t packChord(const HotkeyChord& chord)
{
    return static_cast<std::uint32_t>(chord.key & 0xFF) | static_cast<std::uint32_t>(chord.control) << 8 |
           static_cast<std::uint32_t>(chord.shift) << 10 | static_cast<std::uint32_t>(chord.alt) << 12 |
           static_cast<std::uint32_t>(chord.windows) << 14;
}

HotkeyChord unpackChord(std::uint32_t packed)
{
    const auto side = [packed](int shift) { return static_cast<Side>((packed >> shift) & 3u); };
    return {side(8), side(10), side(12), side(14), static_cast<int>(packed & 0xFF)};
}

}  // namespace tellurix
