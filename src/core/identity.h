#pragma once

#include <string>
#include <string_view>

namespace tellurix {

inline constexpr std::string_view kProgramName = "Tellurix";
inline constexpr std::string_view kVersion = "1.0.3";

// Program name, one blank, version: the window title, the tray tip and the
// first line of the information box.
inline std::string displayName()
{
    std::string name(kProgramName);
    name += ' ';
    name += kVersion;
    return name;
}

}  // namespace tellurix
