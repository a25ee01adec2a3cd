#include "search/search_url.h"

namespace tellurix {
namespace {

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

}  // namespace tellurix
