// The real Windows file and shell-link layer with names outside every ANSI code
// page: the settings and the autostart shortcut must work in a user folder
// such as "Łukasz 王 Zoë". Built for Windows and run under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "core/settings.h"
#include "platform/files.h"
#include "platform/shell_link.h"
#include "settings/settings.h"

namespace tellurix {
namespace {

// "Łukasz 王 Zoë", spelled in UTF-16 and in UTF-8.
const std::wstring kNameWide = L"\u0141ukasz \u738B Zo\u00EB";
const std::string kName = "\xC5\x81ukasz \xE7\x8E\x8B Zo\xC3\xAB";

std::wstring temporaryFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

std::string utf8(const std::wstring& wide)
{
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), length, nullptr, nullptr);
    return out;
}

// Reads a file with Windows' own UTF-16 call, past the program's layer.
std::string readWide(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(4096, '\0');
    DWORD got = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

void removeTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

class UnicodeFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        wideRoot = temporaryFolder() + kNameWide;
        removeTree(wideRoot);
        ASSERT_TRUE(::CreateDirectoryW(wideRoot.c_str(), nullptr));
        root = utf8(wideRoot);
        ASSERT_NE(root.find(kName), std::string::npos);
        // The profile's application-data folder, as Windows would name it for this user.
        ASSERT_TRUE(::SetEnvironmentVariableW(L"APPDATA", wideRoot.c_str()));
    }
    void TearDown() override { removeTree(wideRoot); }

    std::wstring wideRoot;
    std::string root;
};

TEST_F(UnicodeFolder, SettingsAreMadeReadSavedAndReplacedThere)
{
    // The name reaches the program unchanged, and its path back to Windows.
    EXPECT_EQ(platform::environmentVariable("appdata"), root);
    EXPECT_EQ(settingsFilePath("Tellurix", kSettingsFileName), root + "\\Brenmoor\\Tellurix\\Einstellungen.ini");

    ASSERT_TRUE(ensureSettingsFolders("Tellurix"));
    ASSERT_TRUE(ensureSettingsFile("Tellurix", kSettingsFileName));
    const std::wstring file = wideRoot + L"\\Brenmoor\\Tellurix\\Einstellungen.ini";
    EXPECT_EQ(readWide(file), "[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = google.de\r\n");

    Settings settings;
    ASSERT_EQ(loadSettings("Tellurix", kSettingsFileName, settings), platform::ReadOutcome::Read);
    EXPECT_EQ(settings.FPS, 1);
    EXPECT_EQ(settings.Suchseite, "google.de");

    settings.FPS = 0;
    settings.Design = 207;
    settings.Suchseite = "wikipedia.org";
    ASSERT_TRUE(saveSettings("Tellurix", kSettingsFileName, settings));
    EXPECT_EQ(readWide(file), "[Einstellungen]\r\nFPS = 0\r\nDesign = 207\r\nSuchseite = wikipedia.org\r\n");
    EXPECT_EQ(readWide(file + L".tmp"), "<missing>") << "no temporary file is left";

    // A name outside the code page in the value, too: the file turns UTF-8 and reads back.
    settings.Suchseite = kName;
    ASSERT_TRUE(saveSettings("Tellurix", kSettingsFileName, settings));
    Settings reread;
    ASSERT_EQ(loadSettings("Tellurix", kSettingsFileName, reread), platform::ReadOutcome::Read);
    EXPECT_EQ(reread.Suchseite, kName);
    EXPECT_EQ(platform::pathKind(root + "\\Brenmoor\\Tellurix"), platform::PathKind::Folder);
    EXPECT_TRUE(platform::deleteFile(root + "\\Brenmoor\\Tellurix\\Einstellungen.ini"));
    EXPECT_EQ(readWide(file), "<missing>");
}

// Another program holds the file: an editor that keeps it open for writing
// does not stop the reading; one that shares nothing makes it Unreadable (not
// Missing) and it is not replaced; one that lets go within the half second of
// retries is waited for.
TEST_F(UnicodeFolder, FilesHeldByOtherProgramsAreReadWaitedForOrLeftAlone)
{
    using platform::ReadOutcome;
    const std::string path = root + "\\Einstellungen.ini";
    const std::wstring widePath = wideRoot + L"\\Einstellungen.ini";
    ASSERT_TRUE(platform::replaceFile(path, "[Einstellungen]\r\n"));
    const auto holdFile = [&](DWORD share) {
        return ::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
    };

    HANDLE editor = holdFile(FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::readWholeFile(path).bytes, "[Einstellungen]\r\n");
    ::CloseHandle(editor);

    HANDLE locker = holdFile(0);
    ASSERT_NE(locker, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::readWholeFile(path).outcome, ReadOutcome::Unreadable);
    EXPECT_EQ(platform::readFileStart(path, 4).outcome, ReadOutcome::Unreadable);
    EXPECT_FALSE(platform::replaceFile(path, "leer"));
    // Let go after a tenth of a second, while the reader still tries.
    HANDLE letGo = ::CreateThread(
        nullptr, 0,
        [](void* handle) -> DWORD {
            ::Sleep(100);
            ::CloseHandle(static_cast<HANDLE>(handle));
            return 0;
        },
        locker, 0, nullptr);
    ASSERT_NE(letGo, nullptr);
    EXPECT_EQ(platform::readWholeFile(path).bytes, "[Einstellungen]\r\n");
    ::WaitForSingleObject(letGo, INFINITE);
    ::CloseHandle(letGo);

    EXPECT_EQ(platform::readWholeFile(path, 4).outcome, ReadOutcome::Unreadable) << "larger than the reader takes";
    EXPECT_EQ(platform::readFileStart(path, 4).bytes, "[Ein");
    EXPECT_EQ(platform::readWholeFile(root + "\\fehlt.ini").outcome, ReadOutcome::Missing);
    EXPECT_EQ(platform::readWholeFile(root).outcome, ReadOutcome::Unreadable) << "a folder";
}

TEST_F(UnicodeFolder, ShortcutTargetAndWorkingFolderKeepTheName)
{
    const std::string program = root + "\\Programme\\Tellurix.exe";
    ASSERT_TRUE(platform::createFolder(root + "\\Programme"));
    // The shortcut points at the running program, which exists.
    ASSERT_TRUE(platform::replaceFile(program, "MZ"));
    platform::ShellLink link;
    link.target = program;
    ASSERT_TRUE(platform::createShellLink(link, root + "\\Tellurix.lnk"));

    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IShellLinkW* shellLink = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&shellLink))));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    ASSERT_TRUE(SUCCEEDED(file->Load((wideRoot + L"\\Tellurix.lnk").c_str(), STGM_READ)));
    // The target as the shell resolves it: from the link's item list, which
    // names every folder in UTF-16 (Wine keeps its ANSI copy of the path lossy).
    wchar_t target[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    LPITEMIDLIST items = nullptr;
    ASSERT_TRUE(SUCCEEDED(shellLink->GetIDList(&items)) && items);
    ::SHGetPathFromIDListW(items, target);
    ::CoTaskMemFree(items);
    shellLink->GetWorkingDirectory(folder, MAX_PATH);
    file->Release();
    shellLink->Release();
    ::CoUninitialize();

    EXPECT_EQ(std::wstring(target), wideRoot + L"\\Programme\\Tellurix.exe");
    EXPECT_EQ(std::wstring(folder), wideRoot + L"\\Programme\\");
}

}  // namespace
}  // namespace tellurix
