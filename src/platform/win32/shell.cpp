#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/shell.h"
#include "formats/web_address.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace tellurix::platform {

bool launchUrl(std::string_view url)
{
    // Only web addresses go to the shell; nothing is ever started as a program.
    if (!isWebUrl(url))
        return false;
    const std::wstring file = win32::widen(url);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = file.c_str();
    info.lpParameters = L"";
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info))
        return false;
    // Never wait for the browser.
    UniqueKernelHandle process(info.hProcess);
    return true;
}

}  // namespace tellurix::platform
