#include "core/case_fold.h"

#include "core/text.h"

namespace tellurix {
namespace {

bool between(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last;
}

// Pairs of capital and small letter side by side, the capital at an even
// (`capitalOdd` false) or odd code point.
char32_t foldPair(char32_t c, bool capitalOdd)
{
    return (c % 2 == 1) == capitalOdd ? c + 1 : c;
}

char32_t foldLatin(char32_t c)
{
    if (between(c, 0xC0, 0xDE) && c != 0xD7)  // À to Þ, not ×
        return c + 0x20;
    if (c == 0xB5)  // micro sign
        return 0x3BC;
    if (c == 0x178)  // Ÿ
        return 0xFF;
    if (c == 0x17F)  // long s
        return 's';
    if (c == 0x1E9E)  // capital sharp s
        return 0xDF;
    // İ, ı, ĸ and ŉ have no simple partner.
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149)
        return c;
    if (between(c, 0x139, 0x148) || between(c, 0x179, 0x17E))
        return foldPair(c, true);
    if (between(c, 0x100, 0x17F) || between(c, 0x1E00, 0x1E95) || between(c, 0x1EA0, 0x1EFF))
        return foldPair(c, false);
    return c;
}

char32_t foldGreek(char32_t c)
{
    if (between(c, 0x391, 0x3AB) && c != 0x3A2)
        return c + 0x20;
    if (c == 0x386)
        return 0x3AC;
    if (between(c, 0x388, 0x38A))
        return c + 0x25;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 0x3F;
    if (c == 0x3C2)  // final sigma
        return 0x3C3;
    return c;
}

char32_t foldCyrillic(char32_t c)
{
    if (between(c, 0x410, 0x42F))
        return c + 0x20;
    if (between(c, 0x400, 0x40F))
        return c + 0x50;
    if (c == 0x4C0)
        return 0x4CF;
    if (between(c, 0x4C1, 0x4CE))
        return foldPair(c, true);
    if (between(c, 0x460, 0x481) || between(c, 0x48A, 0x4BF) || between(c, 0x4D0, 0x52F))
        return foldPair(c, false);
    return c;
}

// Reads one character of well-formed UTF-8 at `at` and moves past it.
char32_t nextCharacter(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i)
        c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    return c;
}

}  // namespace

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return between(c, 'A', 'Z') ? c + 0x20 : c;
    if (c < 0x370 || between(c, 0x1E00, 0x1EFF))
        return foldLatin(c);
    if (c < 0x400)
        return foldGreek(c);
    if (c < 0x530)
        return foldCyrillic(c);
    return c;
}

std::string foldCase(std::string_view utf8)
{
    if (!isValidUtf8(utf8))
        return foldAsciiCase(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();)
        out += utf8Of(foldCase(nextCharacter(utf8, at)));
    return out;
}

}  // namespace tellurix
