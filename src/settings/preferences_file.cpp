#include "settings/preferences_file.h"

#include <climits>
#include <cstdint>
#include <cstdio>

#include "platform/files.h"

namespace tellurix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The white space that "%d" skips in the C locale.
bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char foldLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Only A to Z are folded: names in other scripts must match byte for byte.
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldLetter(a[i]) != foldLetter(b[i])) return false;
    }
    return true;
}

std::string_view trimLeft(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first])) ++first;
    return text.substr(first);
}

std::string_view trimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

// Each byte becomes the code point of the same number.
std::string latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// Back to single bytes; a code point above U+00FF or a broken sequence
// cannot be represented, so the whole text reads as empty.
std::string utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += text[i];
            continue;
        }
        if ((byte != 0xC2 && byte != 0xC3) || i + 1 >= text.size()) return {};
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if ((next & 0xC0) != 0x80) return {};
        out += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    return out;
}

// "%d" as sscanf reads it, but an out-of-range number saturates instead of
// being undefined.
std::optional<int> scanInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isScanSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsBegin = i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{INT_MAX} + 1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsBegin) return std::nullopt;
    if (negative) return magnitude >= kLimit ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<PreferencesEntry> parseLine(std::string_view line) {
    line = trimLeft(line);
    if (line.empty()) return std::nullopt;

    PreferencesEntry entry;
    if (line.front() == ';') {
        std::string_view text = line.substr(1);
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
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
        if (equals != std::string_view::npos) entry.value = trimLeft(line.substr(equals + 1));
    }
    return entry;
}

}  // namespace

PreferencesFile::~PreferencesFile() { close(); }

void PreferencesFile::reset() {
    path_.clear();
    entries_.clear();
    open_ = false;
    utf8_ = false;
    modified_ = false;
    currentGroup_ = kTopSection;
    pendingGroup_.reset();
}

bool PreferencesFile::create(const std::string& path) {
    close();
    if (!platform::replaceFile(path, {})) return false;
    parse({});
    path_ = path;
    return true;
}

bool PreferencesFile::open(const std::string& path) {
    close();
    const std::optional<std::string> bytes = platform::readWholeFile(path);
    parse(bytes ? std::string_view(*bytes) : std::string_view());
    path_ = path;
    return bytes.has_value();
}

void PreferencesFile::parse(std::string_view bytes) {
    entries_.clear();
    open_ = true;
    modified_ = false;
    currentGroup_ = kTopSection;
    pendingGroup_.reset();

    utf8_ = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (utf8_) bytes.remove_prefix(kByteOrderMark.size());

    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos = bytes.find_first_not_of(kLineEnd, pos);
        if (pos == std::string_view::npos) break;
        std::size_t end = bytes.find_first_of(kLineEnd, pos);
        if (end == std::string_view::npos) end = bytes.size();
        if (auto entry = parseLine(bytes.substr(pos, end - pos))) entries_.push_back(std::move(*entry));
        pos = end;
    }
}

std::string PreferencesFile::compose() const {
    std::string out;
    if (utf8_) {
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
    return out;
}

std::string PreferencesFile::toDocument(std::string_view programText) const {
    return utf8_ ? latin1ToUtf8(programText) : std::string(programText);
}

int PreferencesFile::selectGroup(std::string_view name) {
    if (!open_) return 0;
    pendingGroup_.reset();
    if (name.empty()) {
        currentGroup_ = kTopSection;
        return 1;
    }
    const std::string wanted = toDocument(name);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].kind == PreferencesEntry::Kind::Group && equalsIgnoringCase(entries_[i].name, wanted)) {
            currentGroup_ = i;
            return 1;
        }
    }
    pendingGroup_ = wanted;
    return 0;
}

std::size_t PreferencesFile::sectionBegin() const {
    return currentGroup_ == kTopSection ? 0 : currentGroup_ + 1;
}

std::size_t PreferencesFile::sectionEnd() const {
    std::size_t i = sectionBegin();
    while (i < entries_.size() && entries_[i].kind != PreferencesEntry::Kind::Group) ++i;
    return i;
}

std::optional<std::size_t> PreferencesFile::findKey(std::string_view key) const {
    if (!open_ || pendingGroup_) return std::nullopt;
    const std::string wanted = toDocument(key);
    const std::size_t end = sectionEnd();
    for (std::size_t i = sectionBegin(); i < end; ++i) {
        if (entries_[i].kind == PreferencesEntry::Kind::Key && equalsIgnoringCase(entries_[i].name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

int PreferencesFile::readInteger(std::string_view key, int defaultValue) const {
    const std::optional<std::size_t> match = findKey(key);
    if (!match) return defaultValue;
    return scanInteger(entries_[*match].value).value_or(0);
}

std::string PreferencesFile::readString(std::string_view key, std::string_view defaultValue) const {
    const std::optional<std::size_t> match = findKey(key);
    if (!match) return std::string(defaultValue);
    const std::string_view value = trimRight(trimLeft(entries_[*match].value));
    return utf8_ ? utf8ToLatin1(value) : std::string(value);
}

void PreferencesFile::writeInteger(std::string_view key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    writeValue(key, text);
}

void PreferencesFile::writeString(std::string_view key, std::string_view value) {
    writeValue(key, toDocument(value));
}

void PreferencesFile::writeValue(std::string_view key, std::string value) {
    if (!open_) return;
    if (pendingGroup_) {
        entries_.push_back({PreferencesEntry::Kind::Group, std::move(*pendingGroup_), {}});
        currentGroup_ = entries_.size() - 1;
        pendingGroup_.reset();
    }
    std::string docKey = toDocument(key);
    if (const std::optional<std::size_t> match = findKey(key)) {
        entries_[*match].name = std::move(docKey);
        entries_[*match].value = std::move(value);
    } else {
        const auto at = entries_.begin() + static_cast<std::ptrdiff_t>(sectionEnd());
        entries_.insert(at, {PreferencesEntry::Kind::Key, std::move(docKey), std::move(value)});
    }
    modified_ = true;
}

bool PreferencesFile::close() {
    if (!open_) return true;
    // A document that never had a path (parsed for a test) has nowhere to go.
    const bool saved = !modified_ || (!path_.empty() && platform::replaceFile(path_, compose()));
    reset();
    return saved;
}

}  // namespace tellurix
