#include "search/search_url.h"

#include "core/text.h"
#include "formats/web_address.h"

namespace tellurix {
namespace {

constexpr std::string_view kTermMarker = "%s";

std::size_t markerCount(std::string_view url)
{
    std::size_t count = 0;
    for (std::size_t at = url.find(kTermMarker); at != std::string_view::npos;
         at = url.find(kTermMarker, at + kTermMarker.size()))
        ++count;
    return count;
}

// Blanks of every kind and the C1 control characters; the ASCII ones are
// hasBlankOrControl's.
bool isUnicodeBlank(char32_t c)
{
    return (c >= 0x80 && c <= 0xA0) || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

// Characters nobody sees that change how text shows or reads: zero-width
// ones, direction marks and embeddings, the soft hyphen, tags. An address
// with one looks like another than it is.
bool isFormatCharacter(char32_t c)
{
    return c == 0x00AD || c == 0x061C || c == 0x180E || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB) || c == 0xE0001 || (c >= 0xE0020 && c <= 0xE007F);
}

// Straight, typographic, angle and full-width quotation marks.
bool isQuote(char32_t c)
{
    return c == '"' || c == '\'' || c == 0x00AB || c == 0x00BB || (c >= 0x2018 && c <= 0x201F) || c == 0x2039 ||
           c == 0x203A || c == 0xFF02 || c == 0xFF07;
}

// What the user wrote that an address must not hold, or nothing.
std::optional<std::string> characterProblem(std::string_view url)
{
    if (hasBlankOrControl(url))
        return "Adresse mit Leerzeichen oder Steuerzeichen";
    bool format = false, backslash = false, quote = false;
    for (std::size_t at = 0; at < url.size();) {
        const auto [c, length] = utf8CharacterAt(url, at);
        at += length;
        if (isUnicodeBlank(c))
            return "Adresse mit Leerzeichen oder Steuerzeichen";
        format = format || isFormatCharacter(c);
        backslash = backslash || c == '\\';
        quote = quote || isQuote(c);
    }
    if (format)
        return "Adresse mit unsichtbarem Formatzeichen";
    if (backslash)
        return "Adresse mit umgekehrtem Schrägstrich (\\)";
    if (quote)
        return "Adresse mit Anführungszeichen";
    return std::nullopt;
}

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '~';
}

}  // namespace

std::string percentEncode(std::string_view utf8)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size() * 3);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c)) {
            out += ch;
        } else {
            // "&", "#", "+" and "%" must not keep their meaning inside the
            // query, so everything outside the unreserved set is escaped.
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string composeSearchUrl(const SearchSite& site, std::string_view utf8Term)
{
    std::string url = site.urlPrefix;
    url += percentEncode(utf8Term);
    url += site.urlSuffix;
    return url;
}

std::optional<std::string> urlTemplateProblem(std::string_view url)
{
    if (!url.starts_with("http://") && !url.starts_with("https://"))
        return "Adresse ohne http:// oder https:// am Anfang";
    if (codePointCount(url) > kMaxUrlTemplateLength)
        return "Adresse länger als 2000 Zeichen";
    if (std::optional<std::string> problem = characterProblem(url))
        return problem;
    const std::size_t markers = markerCount(url);
    if (markers == 0)
        return "Adresse ohne %s";
    if (markers > 1)
        return "Adresse mit mehr als einem %s";
    // The host and its port run from "//" up to the path, the query or the
    // fragment. A user name there ("user:pw@host") shows the reader one
    // host while the browser opens what follows the "@".
    const std::string_view afterScheme = url.substr(url.find("//") + 2);
    const std::string_view authority = afterScheme.substr(0, afterScheme.find_first_of("/?#"));
    if (authority.find('@') != std::string_view::npos)
        return "Adresse mit Anmeldedaten (@)";
    if (authority.find(kTermMarker) != std::string_view::npos)
        return "Adresse mit %s im Rechnernamen";
    // What goes to the shell or the network is the address with a term in it,
    // so that is what must pass, too.
    if (authority.empty() || authority.front() == ':' || !isWebUrl(composeSearchUrl(siteOfUrlTemplate("", url), "a b")))
        return "Adresse ohne Rechnernamen";
    return std::nullopt;
}

SearchSite siteOfUrlTemplate(std::string_view label, std::string_view url)
{
    const std::size_t at = url.find(kTermMarker);
    if (at == std::string_view::npos)
        return {std::string(label), std::string(url), {}};
    return {std::string(label), std::string(url.substr(0, at)), std::string(url.substr(at + kTermMarker.size()))};
}

}  // namespace tellurix
