#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

#include "platform/shell_link.h"
#include "platform/shell_link.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace tellurix::platform {

namespace {

struct ComReleaser {
    template <typename Interface>
    static void close(Interface* object) noexcept
    {
        object->Release();
    }
};
template <typename Interface>
using ComPointer = UniqueHandle<Interface*, ComReleaser>;

// A single-threaded apartment for the lifetime of one shortcut creation. It
// is left only when it was entered, so that a caller's own apartment (or a
// refusal because the thread already chose another kind) stays untouched.
class ComApartment {
public:
    ComApartment() noexcept : entered_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (entered_)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool entered_;
};

// SHGetFolderPathW fills at most MAX_PATH characters; the buffer leaves room.
constexpr DWORD kFolderPathBuffer = 2048;
// The longest path the file system knows, in characters.
constexpr DWORD kLongestPath = 32768;

}  // namespace

std::string specialFolderPath(int folder)
{
    // The path straight from the shell's folder table: the detour through an
    // item list starts up the shell's name space, which costs a start-up
    // several milliseconds and a quarter of a megabyte for the same answer.
    std::wstring path(kFolderPathBuffer, L'\0');
    if (FAILED(::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path.data())))
        return {};
    path.resize(path.find(L'\0'));
    if (path.empty())
        return {};
    return win32::narrow(path) + "\\";
}

std::string programFilePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        // A full buffer means the name was cut short: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return win32::narrow(path);
        }
        if (path.size() >= kLongestPath)
            return {};
        path.resize(path.size() * 2);
    }
}

bool createShellLink(const ShellLink& link, const std::string& linkPath)
{
    const ShellLink resolved = resolvedShellLink(link);
    const ComApartment apartment;

    ComPointer<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(shellLink.put()))) ||
        !shellLink) {
        return false;
    }
    // The setters' results do not matter: a property the shell refuses is
    // simply missing from the shortcut.
    using win32::widen;
    shellLink.get()->SetPath(widen(resolved.target).c_str());
    shellLink.get()->SetArguments(widen(resolved.arguments).c_str());
    shellLink.get()->SetWorkingDirectory(widen(resolved.workingDirectory).c_str());
    shellLink.get()->SetDescription(widen(resolved.description).c_str());
    shellLink.get()->SetShowCmd(resolved.showCommand);
    shellLink.get()->SetHotkey(static_cast<WORD>(resolved.hotkey));
    shellLink.get()->SetIconLocation(widen(resolved.iconPath).c_str(), resolved.iconIndex);

    ComPointer<IPersistFile> file;
    if (FAILED(shellLink.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) || !file) {
        return false;
    }
    const std::wstring widePath = win32::widen(linkPath);
    // A failed save (no write access, no such folder) leaves the shortcut missing.
    return SUCCEEDED(file.get()->Save(widePath.c_str(), TRUE));
}

}  // namespace tellurix::platform
