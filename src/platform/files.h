#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Files and folders. Paths are UTF-8 Windows paths with "\" as separator; the
// in-memory platform of the tests maps them onto the host's file system.
namespace tellurix::platform {

enum class PathKind { None, File, Folder };

// When a file was last written and how large it is: enough to tell that
// somebody changed it.
struct FileStamp {
    std::uint64_t modified = 0;
    std::uint64_t size = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Value of an environment variable (UTF-8), empty when it is not set.
std::string environmentVariable(const char* name);

// What stands at `path` (a trailing "\" is ignored).
PathKind pathKind(const std::string& path);

// Creates one folder (its parent must exist). False on failure.
bool createFolder(const std::string& path);

// The whole content of a file, or nothing when it cannot be opened for reading.
std::optional<std::string> readWholeFile(const std::string& path);
// At most the first `limit` bytes of a file, or nothing as above.
std::optional<std::string> readFileStart(const std::string& path, std::size_t limit);

// Replaces the content of the file at `path` with `bytes` in one step: the bytes
// go to a temporary file beside it, are flushed, and the temporary file then
// takes the original's place. On any failure (read-only file, a folder at the
// path, a missing folder, a failed write) the original stays exactly as it was,
// no temporary file is left behind, and the result is false.
bool replaceFile(const std::string& path, std::string_view bytes);

// The stamp of a file; nothing when there is no file at `path`.
std::optional<FileStamp> fileStamp(const std::string& path);

// Deletes a file (never a folder). False on failure.
bool deleteFile(const std::string& path);

}  // namespace tellurix::platform
