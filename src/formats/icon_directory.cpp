#include "formats/icon_directory.h"

namespace tellurix {

std::vector<IconEntry> readIconEntries(std::span<const std::uint8_t> icoFile)
{
    // A 6-byte header, then 16-byte entries.
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (icoFile.size() < kHeader + kEntry)
        return {};
    auto u16 = [&](std::size_t at) { return static_cast<unsigned>(icoFile[at] | icoFile[at + 1] << 8); };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
    };
    // Reserved 0, type 1 (icon), at least one entry.
    const std::size_t count = u16(4);
    if (u16(0) != 0 || u16(2) != 1 || count == 0 || icoFile.size() < kHeader + count * kEntry)
        return {};
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeader + i * kEntry;
        IconEntry entry;
        entry.width = icoFile[at] == 0 ? 256 : icoFile[at];
        entry.height = icoFile[at + 1] == 0 ? 256 : icoFile[at + 1];
        entry.size = u32(at + 8);
        entry.offset = u32(at + 12);
        if (entry.size == 0 || entry.offset > icoFile.size() || entry.size > icoFile.size() - entry.offset)
            return {};
        entries.push_back(entry);
    }
    return entries;
}

std::optional<IconEntry> iconEntryOfWidth(std::span<const std::uint8_t> icoFile, int width)
{
    for (const IconEntry& entry : readIconEntries(icoFile))
        if (entry.width == width)
            return entry;
    return std::nullopt;
}

}  // namespace tellurix
