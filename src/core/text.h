#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The program's text is UTF-8. These are the few rules it needs about it, and
// the conversions from and to Windows-1252, in which older files are written.
namespace tellurix {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);
// The text with every malformed byte replaced by U+FFFD, as Windows shows it.
std::string withoutMalformedUtf8(std::string_view bytes);
// One character as UTF-8.
std::string utf8Of(char32_t character);
// The character that begins at byte `at` (below the text's size) and how many
// bytes it takes; a malformed byte reads as U+FFFD, one byte long.
std::pair<char32_t, std::size_t> utf8CharacterAt(std::string_view utf8, std::size_t at);
// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// become U+0081, U+008D, U+008F, U+0090 and U+009D, as Windows maps them.
std::string windows1252ToUtf8(std::string_view bytes);
// UTF-8 as Windows-1252 bytes; nothing when a character has no place in the
// code page (or the text is malformed).
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// UTF-16 bytes (little- or big-endian, without a byte order mark) as UTF-8. A
// lone surrogate keeps its three-byte form, so that utf16FromUtf8 gives the
// very bytes back; an odd last byte is left out.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// UTF-8 (lone surrogates in their three-byte form included) as UTF-16 bytes
// without a mark; a malformed byte becomes U+FFFD.
std::string utf16FromUtf8(std::string_view utf8, bool bigEndian);

// Limits the user sees are in characters, so count code points: every byte
// that does not continue a sequence. A malformed byte counts as one.
inline std::size_t codePointCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char ch : utf8) {
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// The text cut to at most `limit` characters, the last of them "…" when it had
// more: long values quoted in a balloon.
std::string shortenedText(std::string_view utf8, std::size_t limit);

// Bytes taken by the first `count` code points; never cuts a sequence apart.
inline std::size_t codePointPrefixSize(std::string_view utf8, std::size_t count)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && seen++ == count) {
            return i;
        }
    }
    return utf8.size();
}

// Folds A-Z only. Labels and keywords are domain names and short ASCII words;
// other letters have to match exactly, which keeps this free of locales.
inline char foldAsciiCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string foldAsciiCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = foldAsciiCase(c);
    }
    return out;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAsciiCase(a[i]) != foldAsciiCase(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace tellurix
