#include "platform/shell_link.h"

namespace tellurix::platform {

std::string folderPart(std::string_view path)
{
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

ShellLink resolvedShellLink(ShellLink link)
{
    if (link.iconPath == "|")
        link.iconPath = link.target;
    if (link.workingDirectory.empty())
        link.workingDirectory = folderPart(link.target);
    return link;
}

}  // namespace tellurix::platform
