// Feeds arbitrary bytes to the settings document as if they were a hand-edited
// settings file, and checks what a save must guarantee. The first byte picks
// whether the rest is the file as it is, or its text in a UTF-16 file (little-
// or big-endian, with the mark) as Notepad writes it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <algorithm>
#include <vector>

#include "require.h"
#include "core/text.h"
#include "formats/web_address.h"
#include "search/catalogue.h"
#include "search/keywords.h"
#include "search/own_sites.h"
#include "search/search_url.h"
#include "settings/own_sites_file.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"

namespace {

using tellurix::PreferencesEntry;
using tellurix::PreferencesFile;
using Kind = PreferencesEntry::Kind;
using Encoding = PreferencesFile::TextEncoding;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LE = "\xFF\xFE";
constexpr std::string_view kUtf16BE = "\xFE\xFF";
constexpr std::string_view kSite =
    "b\xC3\xBC"
    "cher.de";  // exercises the Windows-1252 conversion
constexpr int kFps = 0;
const std::string kHighBytes = [] {
    std::string bytes;
    for (int c = 0x80; c <= 0xFF; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}();
constexpr int kDesign = 205;

char fold(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

bool isProgramKey(std::string_view key)
{
    return equalsFolded(key, "FPS") || equalsFolded(key, "Design") || equalsFolded(key, "Suchseite");
}

// `after` is the same entry once a save may have rewritten one of our keys.
bool survives(const PreferencesEntry& before, const PreferencesEntry& after)
{
    if (before.kind != after.kind)
        return false;
    if (before.kind != Kind::Key)
        return before.name == after.name;
    if (isProgramKey(before.name))
        return equalsFolded(before.name, after.name);
    return before.name == after.name && before.value == after.value;
}

bool isUtf16(const PreferencesFile& doc)
{
    return doc.encoding() == Encoding::Utf16LE || doc.encoding() == Encoding::Utf16BE;
}

// A single-byte document whose first line starts with the bytes of a byte order
// mark is read back as UTF-8 or UTF-16; the format cannot tell them apart.
bool readsAsMarkedOnce(const PreferencesFile& doc, std::string_view saved)
{
    return !doc.hasByteOrderMark() &&
           (saved.substr(0, kBom.size()) == kBom || saved.substr(0, 2) == kUtf16LE || saved.substr(0, 2) == kUtf16BE);
}

// A UTF-16 file is written back as UTF-16 after the same mark, its odd last
// byte included.
void checkUtf16Kept(std::string_view input, std::string_view saved)
{
    const std::string_view mark = input.substr(0, 2);
    if (mark != kUtf16LE && mark != kUtf16BE)
        return;
    require(saved.substr(0, 2) == mark, "a UTF-16 file keeps its mark");
    require(saved.size() % 2 == input.size() % 2, "an odd last byte stays");
    require(saved.size() % 2 == 0 || saved.back() == input.back(), "the odd last byte is written back as it was");
}

void checkLines(const PreferencesFile& doc, std::string_view saved)
{
    std::string text;
    if (isUtf16(doc)) {
        text = tellurix::utf16ToUtf8(saved.substr(2), doc.encoding() == Encoding::Utf16BE);
        saved = text;
    } else if (doc.hasByteOrderMark()) {
        require(saved.substr(0, 5) == "\xEF\xBB\xBF\r\n", "UTF-8 save starts with mark and line end");
        saved.remove_prefix(5);
    }
    require(saved.empty() || saved.substr(saved.size() - 2) == "\r\n", "last line ends with CR LF");
    require(saved.find("\r\n\r\n") == std::string_view::npos, "no blank lines");
    require(saved.substr(0, 2) != "\r\n", "no blank first line");
    std::size_t lines = 0;
    for (std::size_t pos = 0; (pos = saved.find("\r\n", pos)) != std::string_view::npos; pos += 2)
        ++lines;
    require(lines == doc.entries().size(), "one line per entry");
}

void readProgramKeys(PreferencesFile& doc)
{
    doc.selectGroup(tellurix::kSettingsGroup);
    doc.readInteger("FPS", tellurix::kDefaultFPS);
    doc.readInteger("Design", tellurix::kDefaultDesign);
    const std::string site = doc.readString("Suchseite", "default");
    require(site.find_first_of("\r\n") == std::string::npos, "a value holds no line break");
    if (!site.empty()) {
        require(site.front() != ' ' && site.front() != '\t', "text read is trimmed left");
        require(site.back() != ' ' && site.back() != '\t', "text read is trimmed right");
    }
    require(!doc.isModified(), "reading does not modify");
}

// Writing back what the document reads for a key is no change of the file.
void checkRewriteChangesNothing(std::string_view input)
{
    PreferencesFile doc;
    doc.parse(input);
    for (const std::string_view group : {std::string_view{}, tellurix::kSettingsGroup}) {
        doc.selectGroup(group);
        for (const tellurix::SettingsLine& line : doc.keyLines()) {
            // Two defaults tell whether the key finds a line at all.
            const std::string value = doc.readString(line.key, "\x01");
            if (value == doc.readString(line.key, "\x02"))
                doc.writeString(line.key, value);
        }
        for (const std::string_view key : {"FPS", "Design"}) {
            const int value = doc.readInteger(key, -1);
            if (value == doc.readInteger(key, -2))
                doc.writeInteger(key, value);
        }
    }
    require(!doc.isModified(), "writing what the file holds does not modify");
}

// Whatever the file says, a search can only ever open a web address.
void checkOwnSites(const PreferencesFile& file)
{
    PreferencesFile doc;
    doc.parse(file.compose());
    doc.selectGroup(tellurix::kOwnSitesGroup);
    const auto siteLines = doc.keyLines();
    doc.selectGroup(tellurix::kKeywordsGroup);
    const auto keywordLines = doc.keyLines();
    static const std::vector<std::string> builtIn = tellurix::builtInSiteLabels();
    const tellurix::OwnSites own = tellurix::readOwnSites(siteLines, builtIn);
    require(own.sites.size() + own.skipped.size() == siteLines.size(), "every own-site line is taken or skipped");
    std::vector<std::string> labels = builtIn;
    for (const tellurix::SearchSite& site : own.sites) {
        require(tellurix::isWebUrl(tellurix::composeSearchUrl(site, "a b/&#%")), "own sites open web addresses");
        labels.push_back(site.label);
    }
    const tellurix::Keywords keywords = tellurix::readKeywords(keywordLines, labels);
    for (const tellurix::Keyword& keyword : keywords.entries)
        require(std::find(labels.begin(), labels.end(), keyword.label) != labels.end(), "keywords name a site");
    tellurix::skippedLinesNotice(own.skipped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 4 >= 2) {
        const bool bigEndian = data[0] % 4 == 3;
        input = std::string(bigEndian ? kUtf16BE : kUtf16LE) + tellurix::utf16FromUtf8(input, bigEndian);
    }

    PreferencesFile original;
    original.parse(input);
    readProgramKeys(original);
    checkOwnSites(original);
    checkRewriteChangesNothing(input);

    // A save followed by a load and another save changes nothing.
    const std::string saved = original.compose();
    checkUtf16Kept(input, saved);
    checkLines(original, saved);
    if (!readsAsMarkedOnce(original, saved)) {
        PreferencesFile reread;
        reread.parse(saved);
        // A save tidies up (text after a group's "]" goes, say): what made a
        // file Windows-1252 or UTF-8 may go with it. Then the lines that are
        // left read the same either way. A UTF-16 file keeps its mark, so
        // its mode always survives.
        const bool ascii = saved.find_first_of(kHighBytes) == std::string::npos;
        require(reread.encoding() == original.encoding() || ascii ||
                    (original.encoding() == Encoding::Windows1252 && reread.encoding() == Encoding::Utf8),
                "mode survives a save");
        require(reread.entries() == original.entries(), "entries survive a save");
        require(reread.compose() == saved, "second save gives the same bytes");
    }

    // What saveSettings does: every entry the file had is still there, in order.
    PreferencesFile updated;
    updated.parse(input);
    updated.selectGroup(tellurix::kSettingsGroup);
    updated.writeInteger("FPS", kFps);
    updated.writeInteger("Design", kDesign);
    updated.writeString("Suchseite", kSite);
    const std::string written = updated.compose();
    checkUtf16Kept(input, written);
    checkLines(updated, written);
    if (readsAsMarkedOnce(updated, written))
        return 0;

    PreferencesFile after;
    after.parse(written);
    const auto& before = original.entries();
    const auto& now = after.entries();
    require(now.size() >= before.size() && now.size() <= before.size() + 4, "a save adds at most a group and 3 keys");
    std::size_t j = 0;
    for (const PreferencesEntry& entry : before) {
        while (j < now.size() && !survives(entry, now[j]))
            ++j;
        require(j < now.size(), "every group, key and comment survives in order");
        ++j;
    }
    require(after.selectGroup(tellurix::kSettingsGroup) == 1, "the group exists after a save");
    require(after.readInteger("FPS", -1) == kFps, "FPS reads back");
    require(after.readInteger("Design", -1) == kDesign, "Design reads back");
    require(after.readString("Suchseite", "") == kSite, "Suchseite reads back");
    return 0;
}
