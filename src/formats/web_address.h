#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellurix {

// True only for an http:// or https:// address with a host and without blanks
// or control characters. Nothing else may ever reach the shell: it would run
// it as a program or open it as a file.
bool isWebUrl(std::string_view url);
// True when the text holds a blank or a control character (no address may).
bool hasBlankOrControl(std::string_view text);

// Where a redirect from the web address `from` leads when it may be followed:
// `location` (a Location header, absolute or relative to `from`) read as an
// address with the same scheme, host and port, without its fragment. Nothing
// when it leaves them, names a user, or cannot be read: such a redirect is
// never followed.
std::optional<std::string> redirectWithinOrigin(std::string_view from, std::string_view location);

}  // namespace tellurix
