#include "platform/shared.h"

namespace tellurix::platform {

std::optional<IconEntry> readIconDirectory(std::span<const std::uint8_t> icoFile)
{
    // A 6-byte header, then 16-byte entries.
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (icoFile.size() < kHeader + kEntry)
        return std::nullopt;
    auto u16 = [&](std::size_t at) { return static_cast<unsigned>(icoFile[at] | icoFile[at + 1] << 8); };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
    };
    // Reserved 0, type 1 (icon), at least one entry.
    if (u16(0) != 0 || u16(2) != 1 || u16(4) == 0)
        return std::nullopt;
    IconEntry entry;
    entry.width = icoFile[kHeader] == 0 ? 256 : icoFile[kHeader];
    entry.height = icoFile[kHeader + 1] == 0 ? 256 : icoFile[kHeader + 1];
    entry.size = u32(kHeader + 8);
    entry.offset = u32(kHeader + 12);
    if (entry.size == 0 || entry.offset > icoFile.size() || entry.size > icoFile.size() - entry.offset)
        return std::nullopt;
    return entry;
}

const ControlColours* colourRuleFor(const std::map<int, ControlColours>& rules, ColourRequest request, int control)
{
    auto it = rules.find(control);
    return it != rules.end() && it->second.request == request ? &it->second : nullptr;
}

std::string folderPart(std::string_view path)
{
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

ShellLink resolvedShellLink(ShellLink link)
{
    if (link.iconPath == "|")
        link.iconPath = link.target;
    if (link.workingDirectory.empty())
        link.workingDirectory = folderPart(link.target);
    return link;
}

}  // namespace tellurix::platform
