#include "app/program.h"

#include "app/event_loop.h"
#include "app/hotkey.h"
#include "app/main_window.h"
#include "core/entry.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "platform/threads.h"
#include "platform/trace.h"
#include "platform/events.h"
#include "platform/process.h"
#include "platform/windows.h"
#include "platform/tray.h"
#include "search/catalogue.h"
#include "search/former_sites.h"
#include "search/own_sites.h"
#include "search/search_history.h"
#include "search/site_choice.h"
#include "search/site_picker.h"
#include "settings/autostart.h"
#include "settings/hotkey_setting.h"
#include "settings/history_file.h"
#include "settings/own_sites_file.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"
#include "ui/designs.h"
#include "ui/images.h"
#include "ui/notices.h"
#include "ui/tray.h"

namespace tellurix {
namespace {

Settings g_settings;
// The balloon last shown about skipped lines of the settings file.
std::string g_toldSkipped;
HotkeyState g_hotkey;
// The balloon last shown about a "Tastenkuerzel" that is no chord.
std::string g_toldHotkey;

constexpr std::string_view kFirstStartTitle = "Erster Start";
constexpr std::string_view kFirstStartLead =
    "Das Suchfenster wurde im Hintergrund gestartet.\r"
    "Um das Suchfenster öffnen zu können, verwenden Sie die folgende Tastenkombination: ";

constexpr std::string_view kSkippedLinesTitle = "Eigene Suchseiten";
constexpr std::string_view kRemovedSiteTitle = "Suchseite";

// Tells the user once about lines of the settings file that were not taken,
// without blocking anything.
void tellSkippedLines(const std::vector<SkippedLine>& skipped)
{
    std::string notice = skippedLinesNotice(skipped);
    if (notice.empty() || notice == g_toldSkipped)
        return;
    platform::showTrayBalloon(kTrayIcon, kSkippedLinesTitle, notice);
    g_toldSkipped = std::move(notice);
}

// The chord from the settings file takes effect; a value that is no chord is
// told once, the standard chord holds then.
void useHotkeySetting(const HotkeySetting& setting)
{
    setHotkeyChord(g_hotkey, setting.chord);
    std::string notice = hotkeyNotice(setting);
    if (notice.empty() || notice == g_toldHotkey)
        return;
    platform::showTrayBalloon(kTrayIcon, kHotkeyNoticeTitle, notice);
    g_toldHotkey = std::move(notice);
}

void showFirstStartNoticeIfDue()
{
    if (g_settings.FPS != 1)
        return;
    platform::markStep("notice due");
    // The standard chord in its short words; a chord of the user's in full.
    const HotkeyChord chord = hotkeyChord(g_hotkey);
    const std::string keys = chord == kStandardChord ? std::string("Strg + Shift + S") : describeChord(chord);
    showNotice(kFirstStartTitle, std::string(kFirstStartLead) + keys);
    g_settings.FPS = 0;
}

// Everything nobody sees before the bar is first shown: own sites, keywords
// and history, the tray menu, the bar's pictures, design, controls and tips.
void completeStartUp(PreferencesFile& settingsFile, std::optional<platform::FileStamp> settingsStamp)
{
    fillSearchSites();
    const std::vector<SkippedLine> skipped = useOwnSitesAndKeywords(settingsFile, settingsStamp);
    setHistory(loadHistory(kProgramName, settingsFile));
    settingsFile.close();
    // A stored site the catalogue no longer offers is told once: the default
    // site that stands in for it is what the next quit writes.
    const StoredSite stored = siteForStoredLabel(g_settings.Suchseite);
    g_settings.Suchseite = stored.label;
    buildTrayMenu();
    tellSkippedLines(skipped);
    if (!stored.removedLabel.empty())
        platform::showTrayBalloon(kTrayIcon, kRemovedSiteTitle, removedSiteNotice(stored.removedLabel, stored.label));
    platform::markStep("own sites, history, tray menu");
    const int dpi = platform::windowDpi(kMainWindow);
    loadIcons(dpi);
    g_settings.Design = prepareDesigns(g_settings.Design, dpi);
    applyBackground(g_settings.Design);
    platform::markStep("pictures");
    buildMainWindowControls(g_settings.Suchseite);
    chooseSite(g_settings.Suchseite);
    // From here on the site label exists, so a session end can save it.
    platform::setSessionEndHandler(saveCurrentSettings);
    // Only "on" needs showing: the buttons start in the "off" state.
    if (isAutostartOn())
        showAutostartButtons(true);
    platform::markStep("controls");
    addButtonTips();
    platform::prepareFirstShow(kMainWindow);
    platform::markStep("button tips, first show prepared");
}

}  // namespace

Settings& programSettings()
{
    return g_settings;
}

bool startUp()
{
    reserveSearchSites();
    if (!createMainWindow())
        return false;
    platform::markStep("main window");
    // What the user sees of a start, in this order: the tray icon, then the
    // notice of a first start. The watcher already runs while they appear.
    g_hotkey.keptKey = 0;
    startHotkey(g_hotkey);
    platform::markStep("hotkey");
    loadTrayImage();
    addTrayIcon();
    platform::markStep("tray icon");
    g_toldSkipped.clear();
    g_toldHotkey.clear();
    ensureSettingsFolders(kProgramName);
    ensureSettingsFile(kProgramName, kSettingsFileName);
    // One reading of the settings file serves everything start-up takes from
    // it; the document stays in memory (the file is not held open).
    const std::string settingsPath = settingsFilePath(kProgramName, kSettingsFileName);
    const auto settingsStamp = platform::fileStamp(settingsPath);
    PreferencesFile settingsFile;
    settingsFile.open(settingsPath);
    readSettings(settingsFile, g_settings);
    useHotkeySetting(readHotkeySetting(settingsFile));
    platform::markStep("settings read");
    showFirstStartNoticeIfDue();
    // The rest can only be seen once the event loop runs: a request of the
    // hotkey, the tray icon or a second copy made during the notice waits in
    // the queue until then.
    completeStartUp(settingsFile, settingsStamp);
    return true;
}

void onDpiChanged(int window)
{
    if (window == kMainWindow) {
        const int dpi = platform::windowDpi(kMainWindow);
        loadIcons(dpi);
        showDesignAgain(g_settings.Design, dpi);
        layOutMainWindow();
        layOutSitePicker();
    }
    layOutDesignWindow();
}

void refreshOwnSites()
{
    if (!ownSitesFileChanged(kProgramName, kSettingsFileName))
        return;
    const std::string path = settingsFilePath(kProgramName, kSettingsFileName);
    const auto stamp = platform::fileStamp(path);
    PreferencesFile file;
    file.open(path);
    tellSkippedLines(useOwnSitesAndKeywords(file, stamp));
    useHotkeySetting(readHotkeySetting(file));
    file.close();
}

HotkeyChord currentHotkeyChord()
{
    return hotkeyChord(g_hotkey);
}

void run()
{
    platform::markStep("program");
    // A second copy would fight the first over the settings file and show a
    // second tray icon: hand over to the running copy instead.
    if (!platform::claimSingleInstance()) {
        platform::bringUpRunningInstance();
        platform::exitProcess(0);
    }
    if (!startUp())
        shutdown();
    runEventLoop();
}

void quit()
{
    saveCurrentSettings();
    shutdown();
}

void saveCurrentSettings()
{
    g_settings.Suchseite = currentSiteLabel();
    saveSettings(kProgramName, kSettingsFileName, g_settings);
}

void shutdown()
{
    platform::beginShutdown();
    platform::releaseThread();
    removeTrayIcon();
    platform::releaseAll();
    platform::exitProcess(0);
}

}  // namespace tellurix
