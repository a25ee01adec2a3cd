#pragma once

#include <string>
#include <vector>

#include "platform/shell_link.h"

// Test controls of the native shell-link layer. The Startup folder is a folder
// of the host (by default a fresh name under the temporary folder that does
// not exist until a test makes it), and every shortcut is kept in memory as
// well as written as a small file, so that the program's own existence checks
// see it.
namespace tellurix::platform::fake {

struct CreatedLink {
    std::string linkPath;
    ShellLink link;      // as the shell got it, shorthands resolved
    bool saved = false;  // the file was written
};

// Every shortcut the shell's link object was made for, oldest first.
const std::vector<CreatedLink>& createdLinks();

// The Startup folder as a host path without trailing separator; empty: the
// shell cannot name the folder.
void setStartupFolder(const std::string& path);
std::string startupFolder();

// What programFilePath() answers.
void setProgramFilePath(const std::string& path);

// The next `count` shortcut creations cannot make the link object.
void failNextShellLinks(int count);

// Forgets created links and pending failures and restores the default
// Startup folder and program path. Files written stay on disk.
void resetShellLinks();

}  // namespace tellurix::platform::fake
