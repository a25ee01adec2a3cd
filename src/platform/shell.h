#pragma once

#include <string_view>

namespace tellurix::platform {

// Hands a web address (see isWebUrl; UTF-8, already percent-encoded) to the
// desktop's default handler without waiting. Anything else is refused: a search
// never starts a program. False when refused or when the shell failed.
[[nodiscard]] bool launchUrl(std::string_view url);

}  // namespace tellurix::platform
