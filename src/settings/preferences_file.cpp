#include "settings/preferences_file.h"

#include <climits>
#include <cstdint>
#include <charconv>

#include "core/text.h"
#include "platform/files.h"

namespace tellurix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The white space that "%d" skips in the C locale.
bool isScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimLeft(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    return text.substr(first);
}

std::string_view trimRight(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

bool hasNonAscii(std::string_view bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// "%d" as sscanf reads it, but an out-of-range number saturates instead of
// being undefined.
std::optional<int> scanInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isScanSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsBegin = i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{INT_MAX} + 1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsBegin)
        return std::nullopt;
    if (negative)
        return magnitude >= kLimit ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<PreferencesEntry> parseLine(std::string_view line)
{
    line = trimLeft(line);
    if (line.empty())
        return std::nullopt;

    PreferencesEntry entry;
    if (line.front() == ';') {
        std::string_view text = line.substr(1);
        if (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        entry.kind = PreferencesEntry::Kind::Comment;
        entry.name = text;
    } else if (line.front() == '[') {
        const std::string_view rest = line.substr(1);
        entry.kind = PreferencesEntry::Kind::Group;
        entry.name = rest.substr(0, rest.find(']'));
    } else {
        const std::size_t equals = line.find('=');
        entry.kind = PreferencesEntry::Kind::Key;
        entry.name = trimRight(line.substr(0, equals));
        if (equals != std::string_view::npos)
            entry.value = trimLeft(line.substr(equals + 1));
    }
    return entry;
}

}  // namespace

PreferencesFile::~PreferencesFile()
{
    close();
}

void PreferencesFile::reset()
{
    path_.clear();
    entries_.clear();
    open_ = false;
    encoding_ = TextEncoding::Windows1252;
    modified_ = false;
    unreadable_ = false;
    oddByte_.clear();
    currentGroup_ = kTopSection;
    pendingGroup_.reset();
}

bool PreferencesFile::create(const std::string& path)
{
    close();
    if (!platform::replaceFile(path, {}))
        return false;
    parse({});
    path_ = path;
    return true;
}

platform::ReadOutcome PreferencesFile::open(const std::string& path)
{
    close();
    const platform::FileContent content = platform::readWholeFile(path);
    parse(content.bytes);
    path_ = path;
    unreadable_ = content.outcome == platform::ReadOutcome::Unreadable;
    return content.outcome;
}

void PreferencesFile::parse(std::string_view bytes)
{
    entries_.clear();
    open_ = true;
    modified_ = false;
    currentGroup_ = kTopSection;
    pendingGroup_.reset();
    oddByte_.clear();

    // A UTF-16 file is read as UTF-8 text; everything below works on that.
    std::string decoded;
    const bool littleEndian = bytes.substr(0, 2) == kUtf16LEMark;
    if (littleEndian || bytes.substr(0, 2) == kUtf16BEMark) {
        encoding_ = littleEndian ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
        bytes.remove_prefix(2);
        if (bytes.size() % 2 != 0)
            oddByte_ = bytes.back();
        decoded = utf16ToUtf8(bytes, !littleEndian);
        bytes = decoded;
    } else if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        // With the mark the file is UTF-8; without it, text that is well-formed
        // UTF-8 is taken as such (Notepad saves so), anything else as Windows-1252.
        encoding_ = TextEncoding::Utf8WithMark;
        bytes.remove_prefix(kByteOrderMark.size());
    } else if (hasNonAscii(bytes) && isValidUtf8(bytes)) {
        encoding_ = TextEncoding::Utf8;
    } else {
        encoding_ = TextEncoding::Windows1252;
    }

    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos = bytes.find_first_not_of(kLineEnd, pos);
        if (pos == std::string_view::npos)
            break;
        std::size_t end = bytes.find_first_of(kLineEnd, pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        if (auto entry = parseLine(bytes.substr(pos, end - pos)))
            entries_.push_back(std::move(*entry));
        pos = end;
    }
}

std::string PreferencesFile::compose() const
{
    std::string out;
    if (encoding_ == TextEncoding::Utf8WithMark) {
        out += kByteOrderMark;
        out += kLineEnd;
    }
    for (const PreferencesEntry& entry : entries_) {
        switch (entry.kind) {
        case PreferencesEntry::Kind::Group:
            out += '[';
            out += entry.name;
            out += ']';
            break;
        case PreferencesEntry::Kind::Comment:
            out += "; ";
            out += entry.name;
            break;
        case PreferencesEntry::Kind::Key:
            out += entry.name;
            out += " = ";
            out += entry.value;
            break;
        }
        out += kLineEnd;
    }
    if (encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) {
        const bool bigEndian = encoding_ == TextEncoding::Utf16BE;
        return std::string(bigEndian ? kUtf16BEMark : kUtf16LEMark) + utf16FromUtf8(out, bigEndian) + oddByte_;
    }
    return out;
}

std::optional<std::string> PreferencesFile::toDocument(std::string_view programText) const
{
    if (encoding_ == TextEncoding::Windows1252)
        return utf8ToWindows1252(programText);
    return std::string(programText);
}

std::string PreferencesFile::fromDocument(std::string_view documentText) const
{
    if (encoding_ == TextEncoding::Windows1252)
        return windows1252ToUtf8(documentText);
    return withoutMalformedUtf8(documentText);
}

void PreferencesFile::makeRoomFor(std::string_view programText)
{
    if (toDocument(programText))
        return;
    // A character the code page has no place for: the document becomes UTF-8
    // (without a mark, as it will be read back) rather than lose it.
    for (PreferencesEntry& entry : entries_) {
        entry.name = windows1252ToUtf8(entry.name);
        entry.value = windows1252ToUtf8(entry.value);
    }
    encoding_ = TextEncoding::Utf8;
}

int PreferencesFile::selectGroup(std::string_view name)
{
    if (!open_)
        return 0;
    pendingGroup_.reset();
    if (name.empty()) {
        currentGroup_ = kTopSection;
        return 1;
    }
    if (const std::optional<std::string> wanted = toDocument(name)) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].kind == PreferencesEntry::Kind::Group &&
                equalsIgnoringAsciiCase(entries_[i].name, *wanted)) {
                currentGroup_ = i;
                return 1;
            }
        }
    }
    pendingGroup_ = std::string(name);
    return 0;
}

std::size_t PreferencesFile::sectionBegin() const
{
    return currentGroup_ == kTopSection ? 0 : currentGroup_ + 1;
}

std::size_t PreferencesFile::sectionEnd() const
{
    std::size_t i = sectionBegin();
    while (i < entries_.size() && entries_[i].kind != PreferencesEntry::Kind::Group)
        ++i;
    return i;
}

std::optional<std::size_t> PreferencesFile::findKey(std::string_view key) const
{
    if (!open_ || pendingGroup_)
        return std::nullopt;
    const std::optional<std::string> wanted = toDocument(key);
    if (!wanted)
        return std::nullopt;
    const std::size_t end = sectionEnd();
    for (std::size_t i = sectionBegin(); i < end; ++i) {
        if (entries_[i].kind == PreferencesEntry::Kind::Key && equalsIgnoringAsciiCase(entries_[i].name, *wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

int PreferencesFile::readInteger(std::string_view key, int defaultValue) const
{
    const std::optional<std::size_t> match = findKey(key);
    if (!match)
        return defaultValue;
    return scanInteger(entries_[*match].value).value_or(0);
}

std::vector<SettingsLine> PreferencesFile::keyLines() const
{
    std::vector<SettingsLine> lines;
    if (!open_ || pendingGroup_)
        return lines;
    const std::size_t end = sectionEnd();
    for (std::size_t i = sectionBegin(); i < end; ++i) {
        const PreferencesEntry& entry = entries_[i];
        if (entry.kind != PreferencesEntry::Kind::Key)
            continue;
        SettingsLine line;
        line.key = fromDocument(entry.name);
        line.value = fromDocument(trimRight(trimLeft(entry.value)));
        line.text = line.key + " = " + line.value;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string PreferencesFile::readString(std::string_view key, std::string_view defaultValue) const
{
    const std::optional<std::size_t> match = findKey(key);
    if (!match)
        return std::string(defaultValue);
    return fromDocument(trimRight(trimLeft(entries_[*match].value)));
}

void PreferencesFile::writeInteger(std::string_view key, int value)
{
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    // A line that reads as this number already ("Design = 0205", "FPS=0 ; gesehen")
    // is no change of the file.
    const bool held = findKey(key) && readInteger(key, 0) == value;
    const bool wasModified = modified_;
    writeString(key, std::string_view(text, static_cast<std::size_t>(end - text)));
    if (held)
        modified_ = wasModified;
}

void PreferencesFile::writeString(std::string_view key, std::string_view value)
{
    if (!open_)
        return;
    makeRoomFor(value);
    makeRoomFor(key);
    if (pendingGroup_)
        makeRoomFor(*pendingGroup_);
    // Well-formed UTF-8 has a place in the document now; malformed text is
    // written as it came.
    std::string docValue = toDocument(value).value_or(std::string(value));
    std::string docKey = toDocument(key).value_or(std::string(key));
    if (pendingGroup_) {
        entries_.push_back({PreferencesEntry::Kind::Group, toDocument(*pendingGroup_).value_or(*pendingGroup_), {}});
        currentGroup_ = entries_.size() - 1;
        pendingGroup_.reset();
        modified_ = true;
    }
    if (const std::optional<std::size_t> match = findKey(key)) {
        // A value that reads as the one written keeps its bytes (a malformed
        // one included); only the blanks around it go, and only when the file
        // is rewritten for another change: by itself it changes nothing.
        const std::string_view old = trimRight(trimLeft(entries_[*match].value));
        if (fromDocument(old) == value)
            docValue = std::string(old);
        else
            modified_ = true;
        entries_[*match].name = std::move(docKey);
        entries_[*match].value = std::move(docValue);
    } else {
        const auto at = entries_.begin() + static_cast<std::ptrdiff_t>(sectionEnd());
        entries_.insert(at, {PreferencesEntry::Kind::Key, std::move(docKey), std::move(docValue)});
        modified_ = true;
    }
}

bool PreferencesFile::close()
{
    if (!open_)
        return true;
    // A document that never had a path (parsed for a test) has nowhere to go,
    // and a file that could not be read is never written over.
    const bool saved = !modified_ || (!path_.empty() && !unreadable_ && platform::replaceFile(path_, compose()));
    reset();
    return saved;
}

}  // namespace tellurix
