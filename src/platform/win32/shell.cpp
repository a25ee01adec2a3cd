#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/shell.h"
#include "platform/win32/handles.h"

namespace tellurix::platform {

bool launchUrl(std::string_view url)
{
    // Only web addresses go to the shell; nothing is ever started as a program.
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0)
        return false;
    const std::string file(url);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = file.c_str();
    info.lpParameters = "";
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info))
        return false;
    // Never wait for the browser.
    UniqueKernelHandle process(info.hProcess);
    return true;
}

}  // namespace tellurix::platform
