#include "formats/web_address.h"

#include <algorithm>

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

namespace {

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The parts of an absolute web address that decide where it goes.
struct Origin {
    bool secure = false;
    std::string_view host;
    long port = 0;
    std::size_t pathStart = 0;  // where the path, query or fragment begins
};

std::optional<Origin> originOf(std::string_view url)
{
    Origin origin;
    std::size_t start = 0;
    if (url.size() >= 7 && equalIgnoringAsciiCase(url.substr(0, 7), "http://")) {
        start = 7;
    } else if (url.size() >= 8 && equalIgnoringAsciiCase(url.substr(0, 8), "https://")) {
        origin.secure = true;
        start = 8;
    } else {
        return std::nullopt;
    }
    const std::size_t end = std::min(url.find_first_of("/?#", start), url.size());
    const std::string_view authority = url.substr(start, end - start);
    // A user name in a redirect is a way to dress up another host.
    if (authority.empty() || authority.find('@') != std::string_view::npos)
        return std::nullopt;
    // The port follows the last colon, unless that one is inside an IPv6 address.
    const std::size_t colon = authority.rfind(':');
    const bool hasPort = colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos;
    origin.host = hasPort ? authority.substr(0, colon) : authority;
    origin.port = origin.secure ? 443 : 80;
    if (hasPort) {
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        origin.port = 0;
        for (const char digit : digits)
            origin.port = origin.port * 10 + (digit - '0');
        if (origin.port == 0 || origin.port > 65535)
            return std::nullopt;
    }
    if (origin.host.empty())
        return std::nullopt;
    origin.pathStart = end;
    return origin;
}

}  // namespace

std::optional<std::string> redirectWithinOrigin(std::string_view from, std::string_view location)
{
    const std::optional<Origin> source = originOf(from);
    // Browsers read a backslash as a slash, other clients do not: an address
    // with one may lead anywhere.
    if (!source || location.empty() || hasBlankOrControl(location) || location.find('\\') != std::string_view::npos)
        return std::nullopt;
    location = location.substr(0, location.find('#'));
    const std::string_view sourceRoot = from.substr(0, source->pathStart);
    std::string target;
    if (location.starts_with("//")) {
        target = std::string(source->secure ? "https:" : "http:") + std::string(location);
    } else if (location.starts_with('/')) {
        target = std::string(sourceRoot) + std::string(location);
    } else if (const std::size_t colon = location.find(':');
               colon != std::string_view::npos && colon < location.find_first_of("/?")) {
        // An address with a scheme of its own.
        target = location;
    } else {
        // Relative to the source's path: after its last slash, or in place of
        // its query when the location is a query.
        std::string_view path = from.substr(source->pathStart);
        path = path.substr(0, path.find_first_of("?#"));
        if (!location.starts_with('?'))
            path = path.substr(0, path.rfind('/') == std::string_view::npos ? 0 : path.rfind('/') + 1);
        target = std::string(sourceRoot) + (path.empty() || path[0] != '/' ? "/" : "") + std::string(path) +
                 std::string(location);
    }
    const std::optional<Origin> destination = originOf(target);
    if (!destination || destination->secure != source->secure || destination->port != source->port ||
        !equalIgnoringAsciiCase(destination->host, source->host))
        return std::nullopt;
    // The scheme as the source spells it ("HTTP://" is the same one).
    target.replace(0, destination->secure ? 5 : 4, destination->secure ? "https" : "http");
    if (!isWebUrl(target))
        return std::nullopt;
    return target;
}

}  // namespace tellurix
