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
    if (chord.key == kVkSpace)
        text += "Leertaste";
    else if (chord.key >= kVkF1 && chord.key <= kVkF24)
        text += "F" + std::to_string(chord.key - kVkF1 + 1);
    else
        text += static_cast<char>(chord.key);
    return text;
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
