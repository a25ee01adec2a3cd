#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/settings_line.h"
#include "platform/files.h"

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
    // Closes the open document, then reads and parses the file. When there is
    // no file the document starts empty and still remembers the path, so that
    // a later write creates the file at close. When a file is there but cannot
    // be read, the document starts empty too, and close never writes it: what
    // the user has in that file is not to be lost.
    [[nodiscard]] platform::ReadOutcome open(const std::string& path);
    // 1 when the group exists (or the name is empty: the section above the first
    // group), 0 when not; a missing group is added by the first write.
    int selectGroup(std::string_view name);
    int readInteger(std::string_view key, int defaultValue) const;
    // Every key line of the current group, in file order, as program text.
    std::vector<SettingsLine> keyLines() const;
    std::string readString(std::string_view key, std::string_view defaultValue) const;
    void writeInteger(std::string_view key, int value);
    void writeString(std::string_view key, std::string_view value);
    // Rewrites the file when the document was modified, then discards the
    // document. False only when a rewrite was due and failed (or was refused
    // because the file could not be read); the file then keeps its old content.
    bool close();

    // The document without a file: parse() replaces the content by that of
    // `bytes` (the remembered path is kept), compose() gives the bytes a save
    // would write.
    void parse(std::string_view bytes);
    std::string compose() const;

    // How the file's text is written: Windows-1252, UTF-8 without a byte order
    // mark (a file without the mark that is well-formed UTF-8), UTF-8 after the
    // mark, or UTF-16 after its mark (Notepad's "Unicode" and "Unicode big
    // endian"). The program's side is UTF-8 in every case; a UTF-16 document
    // keeps its text as UTF-8 and is written back as UTF-16 with its mark.
    enum class TextEncoding { Windows1252, Utf8, Utf8WithMark, Utf16LE, Utf16BE };

    bool isOpen() const { return open_; }
    TextEncoding encoding() const { return encoding_; }
    bool hasByteOrderMark() const { return encoding_ != TextEncoding::Windows1252 && encoding_ != TextEncoding::Utf8; }
    // True after a write that changed what the file says; writing a value the
    // file already holds changes nothing, so close leaves the file alone.
    bool isModified() const { return modified_; }
    const std::vector<PreferencesEntry>& entries() const { return entries_; }

private:
    static constexpr std::size_t kTopSection = static_cast<std::size_t>(-1);

    void reset();
    // Program text (UTF-8) in the document's encoding; nothing when it has no place there.
    std::optional<std::string> toDocument(std::string_view programText) const;
    std::string fromDocument(std::string_view documentText) const;
    // A Windows-1252 document that cannot hold the text becomes UTF-8.
    void makeRoomFor(std::string_view programText);
    std::optional<std::size_t> findKey(std::string_view key) const;
    std::size_t sectionBegin() const;
    std::size_t sectionEnd() const;

    std::string path_;
    std::vector<PreferencesEntry> entries_;
    bool open_ = false;
    TextEncoding encoding_ = TextEncoding::Windows1252;
    bool modified_ = false;
    bool unreadable_ = false;                  // a file is there that could not be read
    std::string oddByte_;                      // a UTF-16 file's odd last byte, written back as it was
    std::size_t currentGroup_ = kTopSection;   // index of the header entry
    std::optional<std::string> pendingGroup_;  // program text
};

}  // namespace tellurix
