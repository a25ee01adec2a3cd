#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The program's texts are UTF-8; Windows takes and gives UTF-16.
namespace tellurix::platform::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace tellurix::platform::win32
