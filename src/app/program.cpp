#include "app/program.h"

#include "app/main_window.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "platform/events.h"
#include "platform/notices.h"
#include "platform/process.h"
#include "platform/threads.h"
#include "platform/trace.h"
#include "platform/tray.h"
#include "platform/windows.h"
#include "search/history.h"
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
// What the files say when they cannot be read or written.
constexpr std::string_view kFilesTitle = "Einstellungen";
constexpr std::string_view kSettingsUnreadText =
    "Einstellungen.ini lässt sich nicht lesen; vielleicht hält ein anderes Programm die Datei offen.\r"
    "Änderungen werden erst gespeichert, wenn sie wieder lesbar ist.";
constexpr std::string_view kHistoryUnreadText =
    "Verlauf.txt lässt sich nicht lesen.\r"
    "Neue Suchen werden erst gespeichert, wenn die Datei wieder lesbar ist.";
constexpr std::string_view kNoSettingsFileText =
    "Einstellungen.ini lässt sich nicht anlegen.\r"
    "Änderungen werden beim Beenden nicht gespeichert.";
constexpr std::string_view kHistoryNotSavedText =
    "Verlauf.txt lässt sich nicht schreiben.\r"
    "Die letzten Suchen gehen beim Beenden verloren.";
constexpr std::string_view kHistoryNotDeletedText =
    "Verlauf.txt lässt sich nicht löschen.\r"
    "Die früheren Suchen bleiben in der Datei.";
constexpr std::string_view kNotSavedQuestion =
    "Die Einstellungen lassen sich nicht speichern: Einstellungen.ini ist schreibgeschützt "
    "oder von einem anderen Programm gesperrt.\r"
    "Trotzdem beenden?";

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
    program.hotkey.overFullScreen.store(hotkey.overFullScreen);
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
    // Windows is ending the session: nobody is there to be told any more, and
    // the file keeps what it had.
    static_cast<void>(saveCurrentSettings(*static_cast<Program*>(program)));
}

// Files that could not be read are told once; when all are read again, a
// later fault is told anew.
void tellUnreadFiles(Program& program)
{
    std::string notice;
    if (program.settingsUnread)
        notice = kSettingsUnreadText;
    if (program.historyUnread)
        notice += (notice.empty() ? "" : "\r") + std::string(kHistoryUnreadText);
    if (notice.empty())
        program.toldUnread.clear();
    tellOnce(program.toldUnread, kFilesTitle, std::move(notice));
}

// The history as read from its file. Searches made while the file could not be
// read go in front of its entries, and are saved at once.
void takeHistory(Program& program, LoadedHistory loaded)
{
    program.historyUnread = loaded.file == platform::ReadOutcome::Unreadable;
    if (program.historyUnread)
        return;
    History& history = loaded.history;
    const std::vector<std::string> fromFile = history.entries;
    const std::vector<std::string>& meanwhile = program.bar.history().entries;
    for (auto search = meanwhile.rbegin(); search != meanwhile.rend(); ++search)
        remember(history, *search);
    const bool changed = history.entries != fromFile;
    program.bar.setHistory(std::move(history));
    if (changed)
        saveHistoryFile(program);
}

// The stored site: one the catalogue no longer offers is told once, and the
// default site that stands in for it is what the next quit writes.
void chooseStoredSite(Program& program)
{
    StoredSite stored = siteForStoredLabel(program.bar.catalogue(), program.settings.Suchseite);
    if (!stored.removedLabel.empty())
        platform::showTrayBalloon(kTrayIcon, kRemovedSiteTitle, removedSiteNotice(stored.removedLabel, stored.label));
    program.bar.chooseSite(std::move(stored.label));
}

// Own sites, keywords and history from the settings document read at start-up.
void useSettingsDocument(Program& program, PreferencesFile& settingsFile)
{
    useOwnSites(program, settingsFile);
    takeHistory(program, loadHistory(kProgramName, settingsFile));
    settingsFile.close();
    tellUnreadFiles(program);
    chooseStoredSite(program);
}

// The settings file could be read at last: what it says replaces the
// standard values the program ran with (the user was told that changes made
// meanwhile are not kept); searches made meanwhile join its history.
void takeSettingsAtLast(Program& program, PreferencesFile& file)
{
    readSettings(file, program.settings);
    program.settings.Design =
        prepareDesigns(program.designs, program.settings.Design, platform::windowDpi(kMainWindow));
    applyBackground(program.designs, program.settings.Design);
    chooseStoredSite(program);
    showSiteLabel(program.bar);
    takeHistory(program, loadHistory(kProgramName, file));
}

// Everything nobody sees before the bar is first shown: own sites, keywords
// and history, the tray menu, the bar's pictures, design, controls and tips.
bool completeStartUp(Program& program, PreferencesFile& settingsFile)
{
    useSettingsDocument(program, settingsFile);
    program.trayMenuBuilt = buildTrayMenu();
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
    if (!ensureSettingsFolders(kProgramName) || !ensureSettingsFile(kProgramName, kSettingsFileName))
        tellOnce(program.toldFiles, kFilesTitle, std::string(kNoSettingsFileText));
    // One reading of the settings file serves everything start-up takes from
    // it; the document stays in memory (the file is not held open).
    const std::string settingsPath = settingsFilePath(kProgramName, kSettingsFileName);
    program.settingsRead = platform::fileStamp(settingsPath);
    PreferencesFile settingsFile;
    program.settingsUnread = settingsFile.open(settingsPath) == platform::ReadOutcome::Unreadable;
    readSettings(settingsFile, program.settings);
    // A file is there, so this is no first start, whatever it holds.
    if (program.settingsUnread)
        program.settings.FPS = 0;
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
    // The history file alone (the settings file, when it comes back, brings
    // the history with it).
    if (program.historyUnread && !program.settingsUnread)
        takeHistory(program, readHistoryFile(kProgramName, program.bar.history()));

    const std::string path = settingsFilePath(kProgramName, kSettingsFileName);
    const std::optional<platform::FileStamp> stamp = platform::fileStamp(path);
    if (stamp == program.settingsRead && !program.settingsUnread) {
        tellUnreadFiles(program);
        return;
    }
    PreferencesFile file;
    if (file.open(path) != platform::ReadOutcome::Unreadable) {
        program.settingsRead = stamp;
        if (program.settingsUnread) {
            program.settingsUnread = false;
            takeSettingsAtLast(program, file);
        }
        useOwnSites(program, file);
        useChordAndSuggestions(program, file);
    }
    tellUnreadFiles(program);
}

bool saveCurrentSettings(Program& program)
{
    if (program.settingsUnread)
        return true;
    program.settings.Suchseite = program.bar.currentSite();
    return saveSettings(kProgramName, kSettingsFileName, program.settings);
}

void saveHistoryFile(Program& program)
{
    // Not over a file that could not be read, nor while the settings that may
    // switch the history off are unknown.
    if (program.historyUnread || program.settingsUnread)
        return;
    if (!saveHistory(kProgramName, program.bar.history()))
        tellOnce(program.toldFiles, kFilesTitle, std::string(kHistoryNotSavedText));
}

void clearHistoryFile(Program& program)
{
    program.bar.clearHistory();
    if (deleteHistoryFile(kProgramName))
        program.historyUnread = false;
    else
        tellOnce(program.toldFiles, kFilesTitle, std::string(kHistoryNotDeletedText));
}

void quit(Program& program)
{
    if (!saveCurrentSettings(program) && !platform::askYesNo(kFilesTitle, kNotSavedQuestion))
        return;
    shutdown();
}

void quitNow(Program& program)
{
    // The queue is gone: nothing can be asked any more.
    static_cast<void>(saveCurrentSettings(program));
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
