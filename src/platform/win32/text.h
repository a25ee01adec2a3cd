#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tellurix::platform::win32 {

std::wstring widen(std::string_view text, UINT codePage);
std::string narrow(std::wstring_view text, UINT codePage);

}  // namespace tellurix::platform::win32
