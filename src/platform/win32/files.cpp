#include "platform/files.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace tellurix::platform {

namespace {

std::wstring withoutTrailingSeparator(std::wstring path)
{
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Writes and flushes the temporary file; the handle is closed before the
// file can take the target's place.
bool writeTemporary(const std::wstring& temporary, std::string_view bytes)
{
    UniqueFile file(
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    return writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
}

}  // namespace

std::string environmentVariable(const char* name)
{
    const std::wstring wideName = win32::widen(name);
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length =
            ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0)
            return {};
        if (length < value.size()) {
            value.resize(length);
            return win32::narrow(value);
        }
        value.resize(length);  // too small: `length` includes the terminating null
    }
}

PathKind pathKind(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(withoutTrailingSeparator(win32::widen(path)).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

bool createFolder(const std::string& path)
{
    return ::CreateDirectoryW(withoutTrailingSeparator(win32::widen(path)).c_str(), nullptr) != FALSE;
}

namespace {

bool isLockError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// One attempt at reading at most `limit` bytes from the start of a file; with
// `whole`, a larger file is Unreadable (never cut). `locked` tells that another
// program held the file or a range of it, so a later attempt may succeed.
FileContent readOnce(const std::wstring& path, std::uint64_t limit, bool whole, bool& locked)
{
    locked = false;
    // Share everything: an editor that keeps the file open for writing must
    // not make it unreadable to us.
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {ReadOutcome::Missing, {}};
        locked = isLockError(error);
        return {ReadOutcome::Unreadable, {}};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return {ReadOutcome::Unreadable, {}};
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    if (whole && length > limit)
        return {ReadOutcome::Unreadable, {}};

    std::string bytes(static_cast<std::size_t>(length < limit ? length : limit), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
            locked = isLockError(::GetLastError());
            return {ReadOutcome::Unreadable, {}};
        }
        if (got == 0)
            break;  // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return {ReadOutcome::Read, std::move(bytes)};
}

FileContent readStart(const std::string& path, std::uint64_t limit, bool whole)
{
    // A program that saves the file holds it for a moment: wait that out, up
    // to about half a second.
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMs = 50;
    const std::wstring widePath = win32::widen(path);
    bool locked = false;
    FileContent content = readOnce(widePath, limit, whole, locked);
    for (int attempt = 1; attempt < kAttempts && locked; ++attempt) {
        ::Sleep(kPauseMs);
        content = readOnce(widePath, limit, whole, locked);
    }
    return content;
}

}  // namespace

FileContent readWholeFile(const std::string& path, std::size_t limit)
{
    return readStart(path, limit, true);
}

FileContent readFileStart(const std::string& path, std::size_t limit)
{
    return readStart(path, limit, false);
}

bool replaceFile(const std::string& path, std::string_view bytes)
{
    const std::wstring target = win32::widen(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        return false;
    }

    // One fixed name: a save cut off by a killed process leaves at most this
    // one file behind, and the next save writes over it. (Only one copy of
    // the program runs at a time.)
    const std::wstring temporary = target + L".tmp";
    if (!writeTemporary(temporary, bytes)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    // A scanner or an editor may hold the old file for a moment: try again
    // for about half a second before giving up.
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        if (attempt == 9 || !(isLockError(error) || error == ERROR_ACCESS_DENIED))
            break;
        ::Sleep(50);
    }
    ::DeleteFileW(temporary.c_str());
    return false;
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(win32::widen(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.modified = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return stamp;
}

bool deleteFile(const std::string& path)
{
    return ::DeleteFileW(win32::widen(path).c_str()) != FALSE;
}

}  // namespace tellurix::platform
