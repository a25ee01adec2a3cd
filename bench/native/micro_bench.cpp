// Native micro-benchmarks of the logic: the settings document on files of
// 1 KB, 1 MB and 10 MB, the composition of search URLs and the catalogue
// lookup. The document's counters give the cost per byte of the file, so
// that growth which is not linear in the file's size shows as a rising
// figure from one size to the next.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "search/catalogue.h"
#include "search/search_url.h"
#include "search/search_bar.h"
#include "settings/own_sites_file.h"
#include "settings/preferences_file.h"

namespace {

namespace fs = std::filesystem;
using tellurix::PreferencesFile;

// A settings file as a user's could grow: the program's own group first, then
// foreign groups of keys and comments until `size` bytes are reached.
std::string settingsText(std::size_t size)
{
    std::string text = "[Einstellungen]\r\nFPS = 0\r\nDesign = 203\r\nSuchseite = google.de\r\n";
    for (std::size_t group = 0; text.size() < size; ++group) {
        text += "[Fremd";
        text += std::to_string(group);
        text += "]\r\n; von Hand eingetragen\r\n";
        for (int key = 0; key < 16 && text.size() < size; ++key) {
            text += "Schluessel";
            text += std::to_string(key);
            text += " = Wert ";
            text += std::to_string(group * 16 + static_cast<std::size_t>(key));
            text += " mit etwas Text dahinter\r\n";
        }
    }
    return text;
}

// One folder for the files of this run, removed at exit.
class WorkFolder {
public:
    WorkFolder()
    {
        std::error_code error;
        fs::path base = fs::temp_directory_path(error);
        if (error)
            base = ".";
        path_ = base / ("tellurix-micro-bench." + std::to_string(::getpid()));
        fs::create_directories(path_, error);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder()
    {
        std::error_code error;
        fs::remove_all(path_, error);
    }

    // Writes the file once per size and gives its path.
    std::string file(std::size_t size)
    {
        const fs::path path = path_ / ("Einstellungen-" + std::to_string(size) + ".ini");
        std::error_code error;
        if (!fs::exists(path, error)) {
            const std::string text = settingsText(size);
            std::ofstream out(path, std::ios::binary);
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
        return path.string();
    }

private:
    fs::path path_;
};

WorkFolder& workFolder()
{
    static WorkFolder folder;
    return folder;
}

// Time per byte of the file, shown next to the time per iteration.
void countBytes(benchmark::State& state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["per_byte"] = benchmark::Counter(
        static_cast<double>(bytes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Start-up reads the file, the program's three values, and closes it unchanged.
void BM_SettingsLoad(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::string path = workFolder().file(size);
    const std::size_t bytes = static_cast<std::size_t>(fs::file_size(path));
    for (auto _ : state) {
        PreferencesFile file;
        if (file.open(path) != tellurix::platform::ReadOutcome::Read) {
            state.SkipWithError("cannot read the settings file");
            break;
        }
        file.selectGroup("Einstellungen");
        benchmark::DoNotOptimize(file.readInteger("FPS", 1));
        benchmark::DoNotOptimize(file.readInteger("Design", 203));
        benchmark::DoNotOptimize(file.readString("Suchseite", "google.de"));
        file.close();
    }
    countBytes(state, bytes);
}

// Quit reads the file, writes the three values and rewrites it.
void BM_SettingsSave(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::string path = workFolder().file(size);
    const std::size_t bytes = static_cast<std::size_t>(fs::file_size(path));
    int design = 200;
    for (auto _ : state) {
        PreferencesFile file;
        if (file.open(path) != tellurix::platform::ReadOutcome::Read) {
            state.SkipWithError("cannot read the settings file");
            break;
        }
        file.selectGroup("Einstellungen");
        file.writeInteger("FPS", 0);
        file.writeInteger("Design", design);
        file.writeString("Suchseite", "google.de");
        if (!file.close()) {
            state.SkipWithError("cannot rewrite the settings file");
            break;
        }
        design = design == 213 ? 200 : design + 1;
    }
    countBytes(state, bytes);
}

// The same two without the file system: parsing and composing in memory.
void BM_SettingsParse(benchmark::State& state)
{
    const std::string text = settingsText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        PreferencesFile file;
        file.parse(text);
        benchmark::DoNotOptimize(file.entries().data());
    }
    countBytes(state, text.size());
}

void BM_SettingsCompose(benchmark::State& state)
{
    const std::string text = settingsText(static_cast<std::size_t>(state.range(0)));
    PreferencesFile file;
    file.parse(text);
    for (auto _ : state) {
        std::string bytes = file.compose();
        benchmark::DoNotOptimize(bytes.data());
    }
    countBytes(state, text.size());
}

constexpr std::int64_t kKilobyte = 1024;
constexpr std::int64_t kMegabyte = 1024 * 1024;

// Files are read and written for real: their rates count the wall clock.
BENCHMARK(BM_SettingsLoad)
    ->Arg(kKilobyte)
    ->Arg(kMegabyte)
    ->Arg(10 * kMegabyte)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_SettingsSave)
    ->Arg(kKilobyte)
    ->Arg(kMegabyte)
    ->Arg(10 * kMegabyte)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_SettingsParse)->Arg(kKilobyte)->Arg(kMegabyte)->Arg(10 * kMegabyte)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SettingsCompose)->Arg(kKilobyte)->Arg(kMegabyte)->Arg(10 * kMegabyte)->Unit(benchmark::kMicrosecond);

// Own sites and keywords as the program takes them from the document at
// start-up and at a bring-up after a save: `lines` keywords, each naming a
// site (a built-in one, or one of 100 own sites). The time per line stays the
// same from 1,000 to 100,000 lines when the reading is linear.
void BM_KeywordsRead(benchmark::State& state)
{
    const auto lines = static_cast<std::size_t>(state.range(0));
    std::string text = "[Eigene Suchseiten]\r\n";
    for (int site = 0; site < 100; ++site)
        text += "Seite " + std::to_string(site) + " = https://example.org/" + std::to_string(site) + "?q=%s\r\n";
    text += "[Kuerzel]\r\n";
    for (std::size_t line = 0; line < lines; ++line) {
        text.append("k").append(std::to_string(line)).append(" = ");
        text.append(line % 2 ? "Seite " + std::to_string(line % 100) : std::string("bing.com")).append("\r\n");
    }
    for (auto _ : state) {
        PreferencesFile file;
        file.parse(text);
        tellurix::SearchBar bar;
        benchmark::DoNotOptimize(tellurix::useOwnSitesAndKeywords(file, bar).size());
    }
    state.counters["per_line"] = benchmark::Counter(
        static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KeywordsRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The catalogue as the program holds it after start-up.
const tellurix::Catalogue kCatalogue;

// Search terms as typed (UTF-8): a word, one with every kind of byte that
// needs escaping, and a long one.
std::string searchTerm(std::int64_t which)
{
    switch (which) {
    case 0: return "wetter";
    case 1:
        return "C# \"AT&T\" 100% \xC3\xBC+?/ Stra\xC3\x9F"
               "e";
    default: {
        std::string term;
        while (term.size() < 1000)
            term += "lange Suche \xC3\xA4 ";
        return term;
    }
    }
}

void BM_ComposeSearchUrl(benchmark::State& state)
{
    const tellurix::SearchSite& site = kCatalogue.site(tellurix::kDefaultSitePosition);
    const std::string term = searchTerm(state.range(0));
    for (auto _ : state) {
        std::string url = tellurix::composeSearchUrl(site, term);
        benchmark::DoNotOptimize(url.data());
    }
    state.SetLabel(std::to_string(term.size()) + " byte term");
}
BENCHMARK(BM_ComposeSearchUrl)->DenseRange(0, 2);

// Lookups of the first site, the default site, the last filled site, and a
// label no site has (which looks at every position).
void BM_FindSearchSite(benchmark::State& state)
{
    const int position = static_cast<int>(state.range(0));
    const std::string label =
        position < tellurix::kFilledSites ? kCatalogue.site(position).label : std::string("keine-seite.example");
    for (auto _ : state) {
        benchmark::DoNotOptimize(kCatalogue.find(label));
    }
    state.SetLabel(position < tellurix::kFilledSites ? label : "not found");
}
BENCHMARK(BM_FindSearchSite)
    ->Arg(0)
    ->Arg(tellurix::kDefaultSitePosition)
    ->Arg(tellurix::kFilledSites - 1)
    ->Arg(tellurix::kCatalogueSize);

}  // namespace

BENCHMARK_MAIN();
