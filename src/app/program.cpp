#include "app/program.h"

#include "app/event_loop.h"
#include "app/hotkey_watcher.h"
#include "app/main_window.h"
#include "core/entry.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "platform/threads.h"
#include "platform/window_toolkit.h"
#include "search/catalogue.h"
#include "settings/autostart.h"
#include "settings/settings.h"
#include "ui/designs.h"
#include "ui/images.h"
#include "ui/notices.h"
#include "ui/tray.h"

namespace tellurix {
namespace {

Settings g_settings;

constexpr std::string_view kFirstStartTitle = "Erster Start";
constexpr std::string_view kFirstStartText =
    "Das Suchfenster wurde im Hintergrund gestartet.\r"
    "Um das Suchfenster öffnen zu können, verwenden Sie die folgende Tastenkombination: Strg + Shift + S";

void showFirstStartNoticeIfDue()
{
    if (g_settings.FPS != 1)
        return;
    showNotice(kFirstStartTitle, kFirstStartText);
    g_settings.FPS = 0;
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
    ensureSettingsFolders(kProgramName);
    ensureSettingsFile(kProgramName, kSettingsFileName);
    loadSettings(kProgramName, kSettingsFileName, g_settings);
    loadEmbeddedImages();
    g_settings.Design = prepareDesigns(g_settings.Design);
    fillSearchSites();
    applyBackground(g_settings.Design);
    buildMainWindowControls(g_settings.Suchseite);
    // From here on the site label exists, so a session end can save it.
    platform::setSessionEndHandler(saveCurrentSettings);
    // Only "on" needs showing: the buttons start in the "off" state.
    if (isAutostartOn())
        showAutostartButtons(true);
    startHotkeyWatcher();
    addTrayIcon();
    buildTrayMenu();
    showFirstStartNoticeIfDue();
    return true;
}

void run()
{
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
    g_settings.Suchseite = platform::controlText(kSiteLabel);
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
