#include "settings/autostart.h"

#include "core/identity.h"
#include "platform/files.h"
#include "platform/shell_link.h"

namespace tellurix {

namespace {

constexpr std::string_view kShortcutExtension = ".lnk";

}  // namespace

std::string autostartShortcutPath()
{
    // Looked up anew each time: the user may move the folder while we run.
    const std::string folder = platform::specialFolderPath(platform::kStartupFolder);
    if (folder.empty())
        return {};
    return folder + std::string(kProgramName) + std::string(kShortcutExtension);
}

bool isAutostartOn()
{
    const std::string path = autostartShortcutPath();
    // A folder of that name counts too: whatever the user put there is theirs
    // and says "on" just as well as our own shortcut does.
    return !path.empty() && platform::pathKind(path) != platform::PathKind::None;
}

bool enableAutostart()
{
    const std::string path = autostartShortcutPath();
    // The shortcut starts this very program file, in its own folder, whatever
    // folder the program happens to have been started from.
    const std::string program = platform::programFilePath();
    if (path.empty() || program.empty())
        return isAutostartOn();
    platform::ShellLink link;
    link.target = program;
    link.workingDirectory = "";  // the target's folder
    link.iconPath = "|";         // the target's own icon
    link.iconIndex = 0;
    link.showCommand = platform::kShowNormal;
    // What the folder holds afterwards is the answer: a link that could not
    // be written leaves autostart off (or an older link on), and the caller
    // tells the user when that is not what was asked for.
    static_cast<void>(platform::createShellLink(link, path));
    return isAutostartOn();
}

bool disableAutostart()
{
    const std::string path = autostartShortcutPath();
    // A folder of that name is not deleted: autostart stays "on" then.
    // As above: the folder says whether the link went.
    if (!path.empty())
        static_cast<void>(platform::deleteFile(path));
    return isAutostartOn();
}

}  // namespace tellurix
