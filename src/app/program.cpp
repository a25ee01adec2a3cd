#include "app/program.h"

#include "app/main_window.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "platform/events.h"
#include "platform/process.h"
#include "platform/threads.h"
#include "platform/trace.h"
#include "platform/tray.h"
#include "platform/windows.h"
#include "search/former_sites.h"
#include "search/own_sites.h"
#include "settings/autostart.h"
#include "settings/history_file.h"
#include "settings/hotkey_setting.h"
#include "settings/own_sites_file.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"
#include "settings/suggestion_setting.h"
#include "ui/bar_view.h"
#include "ui/images.h"
#include "ui/notices.h"
#include "ui/tray.h"

namespace tellurix {
namespace {

constexpr std::string_view kFirstStartTitle = "Erster Start";
constexpr std::string_view kFirstStartLead =
    "Das Suchfenster wurde im Hintergrund gestartet.\r"
    "Um das Suchfenster öffnen zu können, verwenden Sie die folgende Tastenkombination: ";

constexpr std::string_view kSkippedLinesTitle = "Eigene Suchseiten";
constexpr std::string_view kRemovedSiteTitle = "Suchseite";
constexpr std::string_view kNoHotkeyText =
    "Die Tastenkombination lässt sich auf diesem System nicht einrichten.\r"
    "Das Suchfenster öffnet sich mit einem Klick auf das Symbol im Infobereich.";

// Own sites and keywords from a settings document; lines not taken are told
// once, without blocking anything.
void useOwnSites(Program& program, PreferencesFile& file)
{
    tellOnce(program.toldSkipped, kSkippedLinesTitle, skippedLinesNotice(useOwnSitesAndKeywords(file, program.bar)));
}

// The chord and the web's suggestions as a settings document has them; a
// value that cannot be used is told once (the standard chord holds then, web
// suggestions stay off).
void useChordAndSuggestions(Program& program, PreferencesFile& file)
{
    const HotkeySetting hotkey = readHotkeySetting(file);
    setHotkeyChord(program.hotkey, hotkey.chord);
    tellOnce(program.toldHotkey, kHotkeyNoticeTitle, hotkeyNotice(hotkey));
    useSuggestionSetting(program.web, readSuggestionSetting(file));
}

void showFirstStartNoticeIfDue(Program& program)
{
    if (program.settings.FPS != 1)
        return;
    platform::markStep("notice due");
    // The standard chord in its short words; a chord of the user's in full.
    const HotkeyChord chord = hotkeyChord(program.hotkey);
    const std::string keys = chord == kStandardChord ? std::string("Strg + Shift + S") : describeChord(chord);
    showNotice(kFirstStartTitle, std::string(kFirstStartLead) + keys);
    program.settings.FPS = 0;
}

void saveOnSessionEnd(void* program)
{
    saveCurrentSettings(*static_cast<Program*>(program));
}

// Own sites, keywords and history from the settings document read at start-up.
void useSettingsDocument(Program& program, PreferencesFile& settingsFile)
{
    useOwnSites(program, settingsFile);
    program.bar.setHistory(loadHistory(kProgramName, settingsFile));
    settingsFile.close();
    // A stored site the catalogue no longer offers is told once: the default
    // site that stands in for it is what the next quit writes.
    StoredSite stored = siteForStoredLabel(program.bar.catalogue(), program.settings.Suchseite);
    if (!stored.removedLabel.empty())
        platform::showTrayBalloon(kTrayIcon, kRemovedSiteTitle, removedSiteNotice(stored.removedLabel, stored.label));
    program.bar.chooseSite(std::move(stored.label));
}

// Everything nobody sees before the bar is first shown: own sites, keywords
// and history, the tray menu, the bar's pictures, design, controls and tips.
bool completeStartUp(Program& program, PreferencesFile& settingsFile)
{
    useSettingsDocument(program, settingsFile);
    buildTrayMenu();
    platform::markStep("own sites, history, tray menu");
    const int dpi = platform::windowDpi(kMainWindow);
    loadIcons(dpi);
    program.settings.Design = prepareDesigns(program.designs, program.settings.Design, dpi);
    applyBackground(program.designs, program.settings.Design);
    platform::markStep("pictures");
    if (!buildMainWindowControls(program.designs))
        return false;
    showSiteLabel(program.bar);
    // From here on the bar exists, so a session end can save what it shows.
    platform::setSessionEndHandler(saveOnSessionEnd, &program);
    // Only "on" needs showing: the buttons start in the "off" state.
    if (isAutostartOn())
        showAutostartButtons(true);
    platform::markStep("controls");
    addButtonTips();
    platform::prepareFirstShow(kMainWindow);
    platform::markStep("button tips, first show prepared");
    return true;
}

}  // namespace

bool startUp(Program& program)
{
    if (!createMainWindow())
        return false;
    platform::markStep("main window");
    // What the user sees of a start, in this order: the tray icon, then the
    // notice of a first start. The hotkey already works while they appear.
    const bool hotkey = startHotkey(program.hotkey);
    platform::markStep("hotkey");
    loadTrayImage();
    addTrayIcon();
    platform::markStep("tray icon");
    if (!hotkey)
        platform::showTrayBalloon(kTrayIcon, kHotkeyNoticeTitle, kNoHotkeyText);
    ensureSettingsFolders(kProgramName);
    ensureSettingsFile(kProgramName, kSettingsFileName);
    // One reading of the settings file serves everything start-up takes from
    // it; the document stays in memory (the file is not held open).
    const std::string settingsPath = settingsFilePath(kProgramName, kSettingsFileName);
    program.settingsRead = platform::fileStamp(settingsPath);
    PreferencesFile settingsFile;
    settingsFile.open(settingsPath);
    readSettings(settingsFile, program.settings);
    useChordAndSuggestions(program, settingsFile);
    platform::markStep("settings read");
    showFirstStartNoticeIfDue(program);
    // The rest can only be seen once the event loop runs: a request of the
    // hotkey, the tray icon or a second copy made during the notice waits in
    // the queue until then.
    return completeStartUp(program, settingsFile);
}

void onDpiChanged(Program& program, int window)
{
    if (window == kMainWindow) {
        const int dpi = platform::windowDpi(kMainWindow);
        loadIcons(dpi);
        showDesignAgain(program.designs, program.settings.Design, dpi);
        layOutMainWindow();
        layOutSitePicker();
    }
    layOutDesignWindow(program.designs);
}

void refreshFromSettingsFile(Program& program)
{
    const std::string path = settingsFilePath(kProgramName, kSettingsFileName);
    const std::optional<platform::FileStamp> stamp = platform::fileStamp(path);
    if (stamp == program.settingsRead)
        return;
    program.settingsRead = stamp;
    PreferencesFile file;
    file.open(path);
    useOwnSites(program, file);
    useChordAndSuggestions(program, file);
    file.close();
}

void saveCurrentSettings(Program& program)
{
    program.settings.Suchseite = program.bar.currentSite();
    saveSettings(kProgramName, kSettingsFileName, program.settings);
}

void saveHistoryFile(const Program& program)
{
    saveHistory(kProgramName, program.bar.history());
}

void quit(Program& program)
{
    saveCurrentSettings(program);
    shutdown();
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
