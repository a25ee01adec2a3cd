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

// What reading a file gave. A file that exists but cannot be read (another
// program holds it locked, an I/O error, larger than the reader takes, a
// folder at the path) is Unreadable: never to be taken for an empty or missing
// file, and never written over on that ground.
enum class ReadOutcome { Read, Missing, Unreadable };

struct FileContent {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string bytes;  // empty unless Read

    bool wasRead() const { return outcome == ReadOutcome::Read; }
};

// The largest file the program reads whole; anything larger is none of its own.
inline constexpr std::size_t kMaxWholeFileSize = std::size_t{16} << 20;

// Value of an environment variable (UTF-8), empty when it is not set.
std::string environmentVariable(const char* name);

// What stands at `path` (a trailing "\" is ignored).
PathKind pathKind(const std::string& path);

// Creates one folder (its parent must exist). False on failure.
[[nodiscard]] bool createFolder(const std::string& path);

// The whole content of a file. Other programs may go on reading, writing or
// deleting it meanwhile; a file another program holds locked is tried again
// for about half a second. A file of more than `limit` bytes is Unreadable.
[[nodiscard]] FileContent readWholeFile(const std::string& path, std::size_t limit = kMaxWholeFileSize);
// At most the first `limit` bytes of a file, read as above.
[[nodiscard]] FileContent readFileStart(const std::string& path, std::size_t limit);

// Replaces the content of the file at `path` with `bytes` in one step: the bytes
// go to a temporary file beside it, are flushed, and the temporary file then
// takes the original's place. On any failure (read-only file, a folder at the
// path, a missing folder, a failed write) the original stays exactly as it was,
// no temporary file is left behind, and the result is false.
[[nodiscard]] bool replaceFile(const std::string& path, std::string_view bytes);

// The stamp of a file; nothing when there is no file at `path`.
std::optional<FileStamp> fileStamp(const std::string& path);

// Deletes a file (never a folder). False on failure.
[[nodiscard]] bool deleteFile(const std::string& path);

}  // namespace tellurix::platform
