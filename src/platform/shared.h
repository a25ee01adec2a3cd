#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/designs.h"
#include "platform/shell_link.h"

// Rules that every implementation of the platform follows alike: the Windows
// one and the in-memory one of the tests.
namespace tellurix::platform {

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

// `pixels` pixels of `channels` bytes (3 or 4) from R, G, B order to B, G, R
// order (a DIB's) or back, the same swap either way; a fourth byte (alpha)
// stays where it is.
void swapRedAndBlue(const std::uint8_t* from, std::uint8_t* to, std::size_t pixels, int channels);

// The rule that answers a control's colour request, or null when the request
// gets the toolkit's default answer (no rule, or a rule for the other request).
const ControlColours* colourRuleFor(const std::map<int, ControlColours>& rules, ColourRequest request,
                                    int control);

// Everything up to and including the last "\" or "/" of a path; empty when
// the path names no folder.
std::string folderPart(std::string_view path);

// The link with its shorthands ("|" icon, empty working directory) spelled out.
ShellLink resolvedShellLink(ShellLink link);

}  // namespace tellurix::platform
