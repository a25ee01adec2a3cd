#include "core/text.h"

#include <array>
#include <cstdint>

namespace tellurix {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the sequence at `at`: the code point and its length in bytes, or a
// length of 0 when the bytes there are malformed.
std::pair<char32_t, std::size_t> decodeAt(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return {0, 0};
    }
    if (text.size() - at < length)
        return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {0, 0};
    return {c, length};
}

}  // namespace

std::string utf8Of(char32_t character)
{
    std::string out;
    appendUtf8(out, character);
    return out;
}

std::pair<char32_t, std::size_t> utf8CharacterAt(std::string_view utf8, std::size_t at)
{
    const auto decoded = decodeAt(utf8, at);
    return decoded.second == 0 ? std::pair<char32_t, std::size_t>{0xFFFD, 1} : decoded;
}

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = decodeAt(bytes, at).second;
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string withoutMalformedUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = decodeAt(bytes, at).second;
        if (length == 0) {
            appendUtf8(out, 0xFFFD);
            ++at;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        appendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte});
    }
    return out;
}

std::optional<std::string> utf8ToWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto [c, length] = decodeAt(utf8, at);
        if (length == 0)
            return std::nullopt;
        at += length;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        std::size_t index = 0;
        while (index < kHighControls.size() && kHighControls[index] != c)
            ++index;
        if (index == kHighControls.size())
            return std::nullopt;
        out += static_cast<char>(0x80 + index);
    }
    return out;
}

std::string shortenedText(std::string_view utf8, std::size_t limit)
{
    if (codePointCount(utf8) <= limit)
        return std::string(utf8);
    return std::string(utf8.substr(0, codePointPrefixSize(utf8, limit - 1))) + "…";
}

namespace {

void appendUtf16(std::string& out, char32_t unit, bool bigEndian)
{
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

}  // namespace

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    const auto unitAt = [&](std::size_t at) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (char32_t{first} << 8 | second) : (char32_t{second} << 8 | first);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const char32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t next = unitAt(at + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                at += 2;
                continue;
            }
        }
        appendUtf8(out, unit);  // a lone surrogate too
    }
    return out;
}

std::string utf16FromUtf8(std::string_view utf8, bool bigEndian)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t at = 0; at < utf8.size();) {
        auto [character, length] = decodeAt(utf8, at);
        if (length == 0 && at + 2 < utf8.size() && static_cast<unsigned char>(utf8[at]) == 0xED &&
            (static_cast<unsigned char>(utf8[at + 1]) & 0xE0) == 0xA0 &&
            (static_cast<unsigned char>(utf8[at + 2]) & 0xC0) == 0x80) {
            // A lone surrogate as utf16ToUtf8 kept it.
            character = 0xD000 | (char32_t{static_cast<unsigned char>(utf8[at + 1]) & 0x3Fu} << 6) |
                        (static_cast<unsigned char>(utf8[at + 2]) & 0x3F);
            length = 3;
        } else if (length == 0) {
            character = 0xFFFD;
            length = 1;
        }
        at += length;
        if (character >= 0x10000) {
            appendUtf16(out, 0xD800 + ((character - 0x10000) >> 10), bigEndian);
            appendUtf16(out, 0xDC00 + ((character - 0x10000) & 0x3FF), bigEndian);
        } else {
            appendUtf16(out, character, bigEndian);
        }
    }
    return out;
}

}  // namespace tellurix
