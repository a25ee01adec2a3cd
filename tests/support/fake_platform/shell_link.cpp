// Shell folders and shortcuts for the native test build: the Startup folder is
// a host folder the tests choose, and a shortcut is a small text file there.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fake_platform/fake_shell_link.h"
#include "platform/shell_link.h"
#include "platform/files.h"
#include "platform/shell_link.h"

namespace tellurix::platform {

namespace {

constexpr const char* kDefaultProgramPath = "C:\\Programme\\Tellurix\\Tellurix.exe";

// One name per test process, so that parallel test runs never share it.
std::string defaultStartupFolder()
{
    static const std::string folder = [] {
        std::random_device random;
        return (std::filesystem::temp_directory_path() / ("tellurix-startup-" + std::to_string(random()))).string();
    }();
    return folder;
}

struct ShellState {
    std::vector<fake::CreatedLink> links;
    std::string startupFolder = defaultStartupFolder();
    std::string programPath = kDefaultProgramPath;
    int pendingFailures = 0;
};

ShellState& state()
{
    static ShellState instance;
    return instance;
}

// What the file says: enough for a test to tell one shortcut from another.
std::string describe(const ShellLink& link)
{
    return "target=" + link.target + "\r\narguments=" + link.arguments +
           "\r\nworkingDirectory=" + link.workingDirectory + "\r\ndescription=" + link.description +
           "\r\nshowCommand=" + std::to_string(link.showCommand) + "\r\nhotkey=" + std::to_string(link.hotkey) +
           "\r\nicon=" + link.iconPath + "," + std::to_string(link.iconIndex) + "\r\n";
}

}  // namespace

std::string specialFolderPath(int folder)
{
    if (folder != kStartupFolder || state().startupFolder.empty())
        return {};
    return state().startupFolder + "\\";
}

std::string programFilePath()
{
    return state().programPath;
}

bool createShellLink(const ShellLink& link, const std::string& linkPath)
{
    ShellState& s = state();
    if (s.pendingFailures > 0) {
        --s.pendingFailures;
        return false;
    }
    fake::CreatedLink created{linkPath, resolvedShellLink(link), false};
    created.saved = replaceFile(linkPath, describe(created.link));
    const bool saved = created.saved;
    s.links.push_back(std::move(created));
    return saved;
}

namespace fake {

const std::vector<CreatedLink>& createdLinks()
{
    return state().links;
}

void setStartupFolder(const std::string& path)
{
    state().startupFolder = path;
}

std::string startupFolder()
{
    return state().startupFolder;
}

void setProgramFilePath(const std::string& path)
{
    state().programPath = path;
}

void failNextShellLinks(int count)
{
    state().pendingFailures = count;
}

void resetShellLinks()
{
    state() = ShellState{};
}

}  // namespace fake

}  // namespace tellurix::platform
