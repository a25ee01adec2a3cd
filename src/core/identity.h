#pragma once

#include <string>
#include <string_view>

#include "core/version.h"

namespace tellurix {

inline constexpr std::string_view kProgramName = "Tellurix";

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
