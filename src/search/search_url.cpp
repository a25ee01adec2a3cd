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
        return "Adresse beginnt nicht mit http:// oder https://";
    if (codePointCount(url) > kMaxUrlTemplateLength)
        return "Adresse länger als 2000 Zeichen";
    if (hasBlankOrControl(url))
        return "Adresse mit Leerzeichen oder Steuerzeichen";
    const std::size_t markers = markerCount(url);
    if (markers == 0)
        return "Adresse ohne %s";
    if (markers > 1)
        return "Adresse mit mehr als einem %s";
    // What goes to the shell or the network is the address with a term in it,
    // so that is what must pass. Scheme and characters are fine by now; only
    // the host is left.
    if (!isWebUrl(composeSearchUrl(siteOfUrlTemplate("", url), "a b")))
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
