#pragma once

#include <string>
#include <string_view>

// Shell folders and shortcut files (shell links).
namespace tellurix::platform {

// Shell folder numbers (the CSIDL values).
inline constexpr int kStartupFolder = 7;

// Window state a shortcut starts its program in.
inline constexpr int kShowNormal = 1;

// The path of a shell folder with a trailing "\", or empty when the shell
// cannot name it.
std::string specialFolderPath(int folder);

// Full path of the running program's own file, empty if it cannot be found.
std::string programFilePath();

// What a shortcut holds.
struct ShellLink {
    std::string target;
    std::string arguments;
    // Empty: the folder part of the target.
    std::string workingDirectory;
    std::string description;
    int showCommand = kShowNormal;
    int hotkey = 0;
    // "|": the target itself.
    std::string iconPath = "|";
    int iconIndex = 0;
};

// The link with its shorthands ("|" icon, empty working directory) spelled out.
ShellLink resolvedShellLink(ShellLink link);
// Everything up to and including the last "\" or "/" of a path; empty when
// the path names no folder.
std::string folderPart(std::string_view path);

// Writes the shortcut file `linkPath` (replacing one that is there) for the
// resolved `link`. False when the shell's link object cannot be made or the
// file cannot be saved.
[[nodiscard]] bool createShellLink(const ShellLink& link, const std::string& linkPath);

}  // namespace tellurix::platform
