// Files and folders for the native test build, on the host's real file system.
// Built only on std::filesystem and iostreams so that the same tests also run
// in a Windows build.
#include "platform/files.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "fake_platform/fault_injection.h"

namespace tellurix::platform {

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string, std::less<>>& environmentOverrides()
{
    static std::map<std::string, std::string, std::less<>> overrides;
    return overrides;
}

int pendingWriteFailures = 0;
int pendingReplaceFailures = 0;
std::atomic<unsigned> temporaryCounter{0};
// File name -> the fault every read of a file of that name meets.
std::map<std::string, fake::ReadFault, std::less<>> readFaults;

bool readFaultFor(std::string_view path)
{
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto found = readFaults.find(name);
    return found != readFaults.end() && found->second != fake::ReadFault::None;
}

// "\" is the program's separator; the host understands "/". Paths are UTF-8
// on every host (a Windows build would otherwise read them in its code page).
fs::path toHostPath(std::string path)
{
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return fs::path(std::u8string(path.begin(), path.end()));
}

fs::file_status statusOf(const fs::path& path)
{
    std::error_code error;
    return fs::status(path, error);
}

bool isReadOnly(const fs::file_status& status)
{
    constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & anyWrite) == fs::perms::none;
}

bool takeFailure(int& pending)
{
    if (pending <= 0)
        return false;
    --pending;
    return true;
}

void removeQuietly(const fs::path& path)
{
    std::error_code error;
    fs::remove(path, error);
}

}  // namespace

std::string environmentVariable(const char* name)
{
    const auto& overrides = environmentOverrides();
    if (const auto found = overrides.find(std::string_view(name)); found != overrides.end())
        return found->second;
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

PathKind pathKind(const std::string& path)
{
    const fs::file_status status = statusOf(toHostPath(path));
    if (fs::is_directory(status))
        return PathKind::Folder;
    if (fs::exists(status))
        return PathKind::File;
    return PathKind::None;
}

bool createFolder(const std::string& path)
{
    std::error_code error;
    return fs::create_directory(toHostPath(path), error) && !error;
}

FileContent readFileStart(const std::string& path, std::size_t limit)
{
    FileContent content = readWholeFile(path, SIZE_MAX);
    if (content.bytes.size() > limit)
        content.bytes.resize(limit);
    return content;
}

FileContent readWholeFile(const std::string& path, std::size_t limit)
{
    const fs::path hostPath = toHostPath(path);
    const fs::file_status status = statusOf(hostPath);
    if (!fs::exists(status))
        return {ReadOutcome::Missing, {}};
    if (fs::is_directory(status) || readFaultFor(path))
        return {ReadOutcome::Unreadable, {}};
    std::ifstream in(hostPath, std::ios::binary);
    if (!in)
        return {ReadOutcome::Unreadable, {}};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() > limit)
        return {ReadOutcome::Unreadable, {}};
    return {ReadOutcome::Read, std::move(bytes)};
}

bool replaceFile(const std::string& path, std::string_view bytes)
{
    const fs::path target = toHostPath(path);
    const fs::file_status status = statusOf(target);
    // Tests run as root, who may write anything: honour the mode bits ourselves.
    if (fs::is_directory(status))
        return false;
    if (fs::exists(status) && isReadOnly(status))
        return false;

    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(++temporaryCounter);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out || takeFailure(pendingWriteFailures)) {
            out.close();
            removeQuietly(temporary);
            return false;
        }
    }
    std::error_code error;
    if (takeFailure(pendingReplaceFailures)) {
        removeQuietly(temporary);
        return false;
    }
    fs::rename(temporary, target, error);
    if (error) {
        removeQuietly(temporary);
        return false;
    }
    return true;
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    const fs::path hostPath = toHostPath(path);
    std::error_code error;
    if (!fs::is_regular_file(hostPath, error))
        return std::nullopt;
    const auto modified = fs::last_write_time(hostPath, error);
    const auto size = fs::file_size(hostPath, error);
    if (error)
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(modified.time_since_epoch().count()), size};
}

bool deleteFile(const std::string& path)
{
    const fs::path hostPath = toHostPath(path);
    if (fs::is_directory(statusOf(hostPath)))
        return false;
    std::error_code error;
    return fs::remove(hostPath, error) && !error;
}

namespace fake {

void setEnvironmentVariable(std::string_view name, std::string_view value)
{
    environmentOverrides().insert_or_assign(std::string(name), std::string(value));
}

void resetEnvironment()
{
    environmentOverrides().clear();
}

void failNextWrites(int count)
{
    pendingWriteFailures = count;
}

void failNextReplaces(int count)
{
    pendingReplaceFailures = count;
}

void failReads(std::string_view fileName, ReadFault fault)
{
    readFaults.insert_or_assign(std::string(fileName), fault);
}

void resetFaults()
{
    pendingWriteFailures = 0;
    pendingReplaceFailures = 0;
    readFaults.clear();
}

}  // namespace fake

}  // namespace tellurix::platform
