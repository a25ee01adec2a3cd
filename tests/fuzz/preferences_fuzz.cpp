// Feeds arbitrary bytes to the settings document as if they were a hand-edited
// settings file, and checks what a save must guarantee.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <algorithm>
#include <vector>

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

constexpr std::string_view kBom = "\xEF\xBB\xBF";
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

void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

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

// A single-byte document whose first line starts with the bytes of a byte order
// mark is read back as UTF-8; the format cannot tell the two apart.
bool looksLikeUtf8Once(const PreferencesFile& doc, std::string_view saved)
{
    return !doc.hasByteOrderMark() && saved.substr(0, kBom.size()) == kBom;
}

void checkLines(const PreferencesFile& doc, std::string_view saved)
{
    if (doc.hasByteOrderMark()) {
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
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    PreferencesFile original;
    original.parse(input);
    readProgramKeys(original);
    checkOwnSites(original);

    // A save followed by a load and another save changes nothing.
    const std::string saved = original.compose();
    checkLines(original, saved);
    if (!looksLikeUtf8Once(original, saved)) {
        PreferencesFile reread;
        reread.parse(saved);
        // A save tidies up (text after a group's "]" goes, say): what made a
        // file Windows-1252 or UTF-8 may go with it. Then the lines that are
        // left read the same either way.
        using Encoding = PreferencesFile::TextEncoding;
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
    checkLines(updated, written);
    if (looksLikeUtf8Once(updated, written))
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
