#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The directory of an .ico file: which pictures it holds and where.
namespace tellurix {

// The one picture of an .ico file: where its data lies and how large it is.
struct IconEntry {
    int width = 0;
    int height = 0;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// Every entry of an .ico file's directory, in file order; empty when the
// directory is damaged or an entry's data does not lie inside the file.
std::vector<IconEntry> readIconEntries(std::span<const std::uint8_t> icoFile);
// The entry `width` pixels wide, if the file has one.
std::optional<IconEntry> iconEntryOfWidth(std::span<const std::uint8_t> icoFile, int width);

}  // namespace tellurix
