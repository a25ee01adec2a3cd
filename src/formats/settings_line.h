#pragma once

#include <string>

namespace tellurix {

// One "key = value" line of a settings group, key and value trimmed. `text` is
// the line as it stands in the file, so a notice can quote it.
struct SettingsLine {
    std::string key;
    std::string value;
    std::string text;
};

// A line that was not taken, with the German reason shown to the user.
struct SkippedLine {
    std::string text;
    std::string reason;
};

}  // namespace tellurix
