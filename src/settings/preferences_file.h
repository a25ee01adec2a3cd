#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellurix {

// One line of a settings file as the document keeps it.
struct PreferencesEntry {
    enum class Kind { Group, Comment, Key };

    Kind kind = Kind::Key;
    std::string name;   // group name, comment text or key text
    std::string value;  // key lines only

    bool operator==(const PreferencesEntry&) const = default;
};

// A settings file of groups, key lines and comments, held in memory between
// open/create and close. No file handle is kept: the file is read once when the
// document is opened and rewritten in one step when a modified document closes.
// Everything the program does not know (foreign groups, keys, comments) stays
// in place, so hand edits survive a save.
class PreferencesFile {
public:
    PreferencesFile() = default;
    PreferencesFile(const PreferencesFile&) = delete;
    PreferencesFile& operator=(const PreferencesFile&) = delete;
    ~PreferencesFile();

    // Closes the open document, then empties the file at `path` (creating it) and
    // starts an empty single-byte document. On failure no document is open and
    // every operation does nothing until the next create or open.
    bool create(const std::string& path);
    // Closes the open document, then reads and parses the file. When the file
    // cannot be read the document starts empty and still remembers the path,
    // so that a later write creates the file at close. False in that case.
    bool open(const std::string& path);
    // 1 when the group exists (or the name is empty: the section above the first
    // group), 0 when not; a missing group is added by the first write.
    int selectGroup(std::string_view name);
    int readInteger(std::string_view key, int defaultValue) const;
    std::string readString(std::string_view key, std::string_view defaultValue) const;
    void writeInteger(std::string_view key, int value);
    void writeString(std::string_view key, std::string_view value);
    // Rewrites the file when the document was modified, then discards the
    // document. False only when a rewrite was due and failed; the file then
    // keeps its old content.
    bool close();

    // The document without a file: parse() replaces the content by that of
    // `bytes` (the remembered path is kept), compose() gives the bytes a save
    // would write.
    void parse(std::string_view bytes);
    std::string compose() const;

    bool isOpen() const { return open_; }
    bool isUtf8() const { return utf8_; }
    bool isModified() const { return modified_; }
    const std::vector<PreferencesEntry>& entries() const { return entries_; }

private:
    static constexpr std::size_t kTopSection = static_cast<std::size_t>(-1);

    void reset();
    std::string toDocument(std::string_view programText) const;
    std::optional<std::size_t> findKey(std::string_view key) const;
    std::size_t sectionBegin() const;
    std::size_t sectionEnd() const;
    void writeValue(std::string_view key, std::string value);

    std::string path_;
    std::vector<PreferencesEntry> entries_;
    bool open_ = false;
    bool utf8_ = false;
    bool modified_ = false;
    std::size_t currentGroup_ = kTopSection;  // index of the header entry
    std::optional<std::string> pendingGroup_;
};

}  // namespace tellurix
