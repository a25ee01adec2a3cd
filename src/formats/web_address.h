#pragma once

#include <string_view>

namespace tellurix {

// True only for an http:// or https:// address with a host and without blanks
// or control characters. Nothing else may ever reach the shell: it would run
// it as a program or open it as a file.
bool isWebUrl(std::string_view url);
// True when the text holds a blank or a control character (no address may).
bool hasBlankOrControl(std::string_view text);

}  // namespace tellurix
