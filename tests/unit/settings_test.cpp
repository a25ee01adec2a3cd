#include "settings/settings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "core/text.h"
#include "fake_platform/fault_injection.h"
#include "search/catalogue.h"
#include "settings/preferences_file.h"

namespace tellurix {
namespace {

namespace fs = std::filesystem;
namespace fake = platform::fake;

constexpr std::string_view kProgram = "Tellurix";

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Works for both builds: on Windows this sets the read-only attribute.
void setReadOnly(const fs::path& path, bool readOnly)
{
    constexpr fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(path, write, readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.insert(item.path().filename().string());
    return names;
}

std::string defaultFile()
{
    return "[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = " + std::string(defaultSiteLabel()) + "\r\n";
}

// Every test gets its own application-data folder.
class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        appdata_ = fs::temp_directory_path() /
                   ("tellurix_settings_" + std::to_string(stamp) + "_" + std::to_string(++counter));
        fs::create_directories(appdata_);
        fake::setEnvironmentVariable("appdata", appdata_.string());
    }

    void TearDown() override
    {
        fake::resetFaults();
        fake::resetEnvironment();
        std::error_code error;
        for (const auto& item : fs::recursive_directory_iterator(appdata_, error))
            setReadOnly(item.path(), false);
        fs::remove_all(appdata_, error);
    }

    fs::path programFolder() const { return appdata_ / "Brenmoor" / "Tellurix"; }
    fs::path settingsFile() const { return programFolder() / "Einstellungen.ini"; }

    void makeProgramFolder() const { fs::create_directories(programFolder()); }

    Settings load() const
    {
        Settings settings;
        EXPECT_NE(loadSettings(kProgram, kSettingsFileName, settings), platform::ReadOutcome::Unreadable);
        return settings;
    }

    fs::path appdata_;
};

TEST(SettingsPath, IsPlainConcatenation)
{
    fake::setEnvironmentVariable("appdata", "C:\\Users\\a\\AppData\\Roaming");
    EXPECT_EQ(settingsFilePath("Tellurix", "Einstellungen.ini"),
              "C:\\Users\\a\\AppData\\Roaming\\Brenmoor\\Tellurix\\Einstellungen.ini");
    fake::setEnvironmentVariable("appdata", "C:\\data\\");
    EXPECT_EQ(settingsFilePath("P", "f"), "C:\\data\\\\Brenmoor\\P\\f");
    fake::setEnvironmentVariable("appdata", "");
    EXPECT_EQ(settingsFilePath("Tellurix", "Einstellungen.ini"), "\\Brenmoor\\Tellurix\\Einstellungen.ini");
    fake::resetEnvironment();
}

TEST_F(SettingsFiles, FirstStartCreatesFoldersAndTheDefaultFile)
{
    ASSERT_TRUE(ensureSettingsFolders(kProgram));
    EXPECT_TRUE(fs::is_directory(appdata_ / "Brenmoor"));
    EXPECT_TRUE(fs::is_directory(programFolder()));

    ASSERT_TRUE(ensureSettingsFile(kProgram, kSettingsFileName));
    EXPECT_EQ(readBytes(settingsFile()), defaultFile());
    EXPECT_EQ(namesIn(programFolder()), std::set<std::string>{"Einstellungen.ini"});

    const Settings settings = load();
    EXPECT_EQ(settings.FPS, 1);
    EXPECT_EQ(settings.Design, 203);
    EXPECT_EQ(settings.Suchseite, defaultSiteLabel());
    EXPECT_EQ(readBytes(settingsFile()), defaultFile()) << "loading must not rewrite";
}

TEST_F(SettingsFiles, QuitAfterTheFirstStartClearsTheFlag)
{
    ASSERT_TRUE(ensureSettingsFolders(kProgram));
    ASSERT_TRUE(ensureSettingsFile(kProgram, kSettingsFileName));
    Settings settings = load();
    settings.FPS = 0;
    settings.Design = 211;
    settings.Suchseite = "wikipedia.de";
    ASSERT_TRUE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_EQ(readBytes(settingsFile()), "[Einstellungen]\r\nFPS = 0\r\nDesign = 211\r\nSuchseite = wikipedia.de\r\n");

    const Settings again = load();
    EXPECT_EQ(again.FPS, 0);
    EXPECT_EQ(again.Design, 211);
    EXPECT_EQ(again.Suchseite, "wikipedia.de");
}

TEST_F(SettingsFiles, ExistingFoldersAndFilesAreLeftAlone)
{
    makeProgramFolder();
    writeBytes(settingsFile(), "not a settings file at all");
    ASSERT_TRUE(ensureSettingsFolders(kProgram));
    ASSERT_TRUE(ensureSettingsFile(kProgram, kSettingsFileName));
    EXPECT_EQ(readBytes(settingsFile()), "not a settings file at all");
    EXPECT_EQ(load().Design, 203);
}

TEST_F(SettingsFiles, VendorNameTakenByAFileIsIgnored)
{
    writeBytes(appdata_ / "Brenmoor", "mine");
    EXPECT_FALSE(ensureSettingsFolders(kProgram));
    EXPECT_FALSE(ensureSettingsFile(kProgram, kSettingsFileName));
    EXPECT_EQ(readBytes(appdata_ / "Brenmoor"), "mine");
    const Settings settings = load();
    EXPECT_EQ(settings.FPS, 1);
    EXPECT_FALSE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_EQ(readBytes(appdata_ / "Brenmoor"), "mine");
}

TEST_F(SettingsFiles, FolderAtTheSettingsPathIsNeverTouched)
{
    fs::create_directories(settingsFile() / "inside");
    ASSERT_TRUE(ensureSettingsFile(kProgram, kSettingsFileName));
    Settings settings;
    EXPECT_EQ(loadSettings(kProgram, kSettingsFileName, settings), platform::ReadOutcome::Unreadable);
    EXPECT_EQ(settings.FPS, 1);
    EXPECT_EQ(settings.Design, 203);
    EXPECT_EQ(settings.Suchseite, defaultSiteLabel());

    EXPECT_FALSE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_TRUE(fs::is_directory(settingsFile()));
    EXPECT_EQ(namesIn(settingsFile()), std::set<std::string>{"inside"});
    EXPECT_EQ(namesIn(programFolder()), std::set<std::string>{"Einstellungen.ini"});
}

TEST_F(SettingsFiles, ReadOnlyFileLoadsAndStaysUnchanged)
{
    makeProgramFolder();
    const std::string original = "[Einstellungen]\nFPS=0\nDesign=210\nSuchseite= bing.com\n";
    writeBytes(settingsFile(), original);
    setReadOnly(settingsFile(), true);

    Settings settings = load();
    EXPECT_EQ(settings.FPS, 0);
    EXPECT_EQ(settings.Design, 210);
    EXPECT_EQ(settings.Suchseite, "bing.com");

    settings.Design = 200;
    EXPECT_FALSE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_EQ(readBytes(settingsFile()), original);
    EXPECT_EQ(namesIn(programFolder()), std::set<std::string>{"Einstellungen.ini"});
}

TEST_F(SettingsFiles, FailedSaveKeepsTheOriginalAndLeavesNoTemporaryFile)
{
    const std::string original = "; meine Datei\r\n[Einstellungen]\r\nFPS = 0\r\nDesign = 212\r\n";
    for (const bool failWrite : {true, false}) {
        makeProgramFolder();
        writeBytes(settingsFile(), original);
        if (failWrite) {
            fake::failNextWrites(1);
        } else {
            fake::failNextReplaces(1);
        }
        Settings settings = load();
        settings.Design = 201;
        EXPECT_FALSE(saveSettings(kProgram, kSettingsFileName, settings)) << failWrite;
        EXPECT_EQ(readBytes(settingsFile()), original) << failWrite;
        EXPECT_EQ(namesIn(programFolder()), std::set<std::string>{"Einstellungen.ini"}) << failWrite;

        // The injected fault is used up: the next save goes through.
        EXPECT_TRUE(saveSettings(kProgram, kSettingsFileName, settings)) << failWrite;
        EXPECT_EQ(load().Design, 201) << failWrite;
        EXPECT_EQ(namesIn(programFolder()), std::set<std::string>{"Einstellungen.ini"}) << failWrite;
    }
}

TEST_F(SettingsFiles, FailedCreateLeavesNoFileAndLoadsDefaults)
{
    ASSERT_TRUE(ensureSettingsFolders(kProgram));
    fake::failNextWrites(1);
    EXPECT_FALSE(ensureSettingsFile(kProgram, kSettingsFileName));
    EXPECT_TRUE(namesIn(programFolder()).empty());
    EXPECT_EQ(load().FPS, 1);
}

TEST_F(SettingsFiles, DeletedFileIsCreatedAgainAtSave)
{
    ASSERT_TRUE(ensureSettingsFolders(kProgram));
    ASSERT_TRUE(ensureSettingsFile(kProgram, kSettingsFileName));
    Settings settings = load();
    fs::remove(settingsFile());

    settings.FPS = 0;
    settings.Suchseite = "ecosia.org";
    ASSERT_TRUE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_EQ(readBytes(settingsFile()), "[Einstellungen]\r\nFPS = 0\r\nDesign = 203\r\nSuchseite = ecosia.org\r\n");
}

TEST_F(SettingsFiles, SaveWithoutItsFolderFailsQuietly)
{
    Settings settings = load();
    EXPECT_EQ(settings.Design, 203);
    EXPECT_FALSE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_FALSE(fs::exists(appdata_ / "Brenmoor"));
}

TEST_F(SettingsFiles, HandEditedFileKeepsEverythingItHad)
{
    makeProgramFolder();
    writeBytes(settingsFile(),
               "\xEF\xBB\xBF\n[Fremd]\n  ;x\nwert = 1 \n\n[Einstellungen] alt\n; y\ndesign=205\nSuchseite = "
               "caf\xC3\xA9.de  \n[Danach]\nDesign = 9\n");
    Settings settings = load();
    EXPECT_EQ(settings.FPS, 1);
    EXPECT_EQ(settings.Design, 205);
    EXPECT_EQ(settings.Suchseite, "caf\xC3\xA9.de");

    settings.FPS = 0;
    ASSERT_TRUE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_EQ(readBytes(settingsFile()),
              "\xEF\xBB\xBF\r\n[Fremd]\r\n; x\r\nwert = 1 \r\n[Einstellungen]\r\n; y\r\nDesign = 205\r\nSuchseite = "
              "caf\xC3\xA9.de\r\nFPS = 0\r\n[Danach]\r\nDesign = 9\r\n");
}

// A hand-formatted file in each encoding a user's editor may save: a save of
// the values it holds leaves its bytes and its time alone; a save of a change
// keeps the encoding, its mark and every other line.
TEST_F(SettingsFiles, EachEncodingIsKeptAndAnUnchangedSaveWritesNothing)
{
    const std::string text =
        "; von Hand\r\n\r\n[Einstellungen]\r\n  fps=0\r\nDesign = 0207\r\n"
        "Suchseite = dict.cc \r\n[Eigene Suchseiten]\r\nLEO W\xC3\xB6rterbuch = "
        "https://dict.leo.org/%s\r\n";
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"Windows-1252", *utf8ToWindows1252(text)},
        {"UTF-8", text},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text},
        {"UTF-16 LE", "\xFF\xFE" + utf16FromUtf8(text, false)},
        {"UTF-16 BE", "\xFE\xFF" + utf16FromUtf8(text, true)},
    };
    makeProgramFolder();
    for (const Case& c : cases) {
        writeBytes(settingsFile(), c.bytes);
        const auto written = fs::last_write_time(settingsFile()) - std::chrono::hours(1);
        fs::last_write_time(settingsFile(), written);
        Settings settings = load();
        EXPECT_EQ(settings.Design, 207) << c.what;
        EXPECT_EQ(settings.Suchseite, "dict.cc") << c.what;
        ASSERT_TRUE(saveSettings(kProgram, kSettingsFileName, settings)) << c.what;
        EXPECT_EQ(readBytes(settingsFile()), c.bytes) << c.what;
        EXPECT_EQ(fs::last_write_time(settingsFile()), written) << c.what;

        settings.Design = 211;
        ASSERT_TRUE(saveSettings(kProgram, kSettingsFileName, settings)) << c.what;
        const std::string saved = readBytes(settingsFile());
        EXPECT_EQ(saved.substr(0, 2), c.bytes.substr(0, 2)) << c.what;
        PreferencesFile reread;
        ASSERT_EQ(reread.open(settingsFile().string()), platform::ReadOutcome::Read);
        EXPECT_EQ(reread.compose(), saved) << c.what;
        reread.selectGroup("Eigene Suchseiten");
        ASSERT_EQ(reread.keyLines().size(), 1u) << c.what;
        EXPECT_EQ(reread.keyLines()[0].text, "LEO W\xC3\xB6rterbuch = https://dict.leo.org/%s") << c.what;
        EXPECT_EQ(load().Design, 211) << c.what;
    }
}

TEST_F(SettingsFiles, EmptyFileGetsTheGroupAndTheThreeKeys)
{
    makeProgramFolder();
    writeBytes(settingsFile(), "");
    Settings settings = load();
    EXPECT_EQ(settings.FPS, 1);
    EXPECT_EQ(settings.Design, 203);
    EXPECT_EQ(settings.Suchseite, defaultSiteLabel());
    ASSERT_TRUE(saveSettings(kProgram, kSettingsFileName, settings));
    EXPECT_EQ(readBytes(settingsFile()), defaultFile());
}

}  // namespace
}  // namespace tellurix
