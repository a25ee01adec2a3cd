#include "formats/web_address.h"

namespace tellurix {

bool isWebUrl(std::string_view url)
{
    std::string_view rest;
    if (url.starts_with("http://"))
        rest = url.substr(7);
    else if (url.starts_with("https://"))
        rest = url.substr(8);
    else
        return false;
    // The host runs up to the path, the query or the fragment and may not be empty.
    const std::size_t hostEnd = rest.find_first_of("/?#");
    return hostEnd != 0 && !rest.empty() && !hasBlankOrControl(url);
}

bool hasBlankOrControl(std::string_view text)
{
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

}  // namespace tellurix
