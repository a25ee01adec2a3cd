#include "app/event_loop.h"

#include <array>
#include <string_view>

#include "app/main_window.h"
#include "core/numbers.h"
#include "platform/controls.h"
#include "platform/notices.h"
#include "platform/shell.h"
#include "platform/trace.h"
#include "platform/tray.h"
#include "settings/autostart.h"
#include "ui/bar_view.h"
#include "ui/designs.h"
#include "ui/notices.h"
#include "ui/site_picker.h"
#include "ui/suggestion_list.h"
#include "ui/tray.h"

namespace tellurix {
namespace {

using platform::Event;
using platform::EventKind;
using platform::EventSubtype;

using Handler = void (*)(Program&);

// A row matches an event of its kind and number; `subtype` None matches every subtype.
struct Route {
    EventKind kind;
    int number;
    EventSubtype subtype;
    Handler handler;
};

constexpr EventSubtype kAny = EventSubtype::None;

constexpr std::string_view kNoBrowserTitle = "Suche nicht gestartet";
constexpr std::string_view kNoBrowserText =
    "Windows hat keinen Browser für Web-Adressen gestartet.\r"
    "Der Suchbegriff bleibt im Suchfeld.";

constexpr std::string_view kPickerTitle = "Suchseiten";
constexpr std::string_view kWindowFailedText =
    "Das Fenster lässt sich nicht öffnen: Windows hat keinen Platz für ein weiteres.\r"
    "Schließen Sie ein paar Fenster und versuchen Sie es noch einmal.";

// A window Windows would not make (its resources are used up).
void tellWindowFailed(std::string_view title)
{
    platform::showTrayBalloon(kTrayIcon, title, kWindowFailedText);
}

void showBar(Program& program)
{
    refreshFromSettingsFile(program);
    bringUpMainWindow();
    platform::markStep("bar shown");
}

// The bar goes away, and the list under its field with it.
void putBarAway(Program& program)
{
    stopSuggesting(program.web, program.bar);
    hideMainWindow();
}

// The model says what to search; the browser gets it, and only when it took it
// does the bar go away and the history remember the search.
void searchNow(Program& program)
{
    const std::optional<SearchRequest> request = program.bar.search();
    if (!request)
        return;
    if (!platform::launchUrl(request->url)) {
        platform::showTrayBalloon(kTrayIcon, kNoBrowserTitle, kNoBrowserText);
        return;
    }
    platform::markStep("search handed over");
    putBarAway(program);
    const bool remembered = program.bar.searched(*request);
    showFieldAfterSearch();
    showSiteLabel(program.bar);
    if (remembered)
        saveHistoryFile(program);
}

void searchFromReturn(Program& program)
{
    platform::markStep("return");
    if (platform::focusedControl() == kSearchField)
        searchNow(program);
}

// A click on a row of the list under the field searches it.
void searchClickedRow(Program& program)
{
    if (program.bar.pickSuggestion(clickedSuggestion()))
        searchNow(program);
}

// The field's character is there already; the list and the web follow once
// the keys that came meanwhile are in.
void onSearchFieldChanged(Program& program)
{
    platform::markStep("typed");
    if (onFieldChanged(program.bar))
        platform::postEvent(kPostedListUpdate);
}

void updateList(Program& program)
{
    onTypedTextChanged(program.web, program.bar);
}

void onSearchFieldFocus(Program& program)
{
    onFieldFocus(program.bar);
}

// Leaving the field closes the list under it, unless the click went into it.
void onSearchFieldBlur(Program& program)
{
    onFieldBlur(program.bar);
    if (platform::focusedControl() != kSuggestionList)
        stopSuggesting(program.web, program.bar);
}

constexpr std::string_view kHistoryTitle = "Suchverlauf";
constexpr std::string_view kClearHistoryQuestion = "Suchverlauf löschen?";

// True when the user said yes and the history is gone.
bool clearHistory(Program& program)
{
    if (!platform::askYesNo(kHistoryTitle, kClearHistoryQuestion))
        return false;
    clearHistoryFile(program);
    return true;
}

void onSearchFieldKey(Program& program, const platform::KeyPress& press)
{
    using platform::Key;
    SearchBar& bar = program.bar;
    // Up and Down move through the rows (or the history); forgetting changes
    // the rows themselves.
    bool moved = false;
    bool forgot = false;
    if ((press.key == Key::Down && press.alt) || press.key == Key::F4) {
        stopSuggesting(program.web, bar);
        if (!openSitePickerFromKeyboard(program.picker, bar))
            tellWindowFailed(kPickerTitle);
    } else if (press.key == Key::Up) {
        moved = bar.up();
    } else if (press.key == Key::Down) {
        moved = bar.down();
    } else if (press.key == Key::Escape) {
        stopSuggesting(program.web, bar);
    } else if (press.key == Key::Delete && press.shift && press.control) {
        forgot = clearHistory(program);
    } else if (press.key == Key::Delete && press.shift && bar.forgetShown()) {
        saveHistoryFile(program);
        forgot = true;
    }
    if (moved || forgot) {
        showFieldText(bar);
        showSiteLabel(bar);
    }
    if (forgot)
        showSuggestions(bar);
    else if (moved)
        showHighlightedSuggestion(bar);
}

void onKey(Program& program, const Event& event)
{
    if (event.number == kSearchField)
        onSearchFieldKey(program, event.key);
    else if (event.number == kPickerList)
        onPickerKey(program.picker, program.bar, event.key);
}

void openPicker(Program& program)
{
    if (!openSitePicker(program.picker, program.bar))
        tellWindowFailed(kPickerTitle);
}

void pickFromList(Program& program)
{
    pickSite(program.picker, program.bar);
}

void pickByDoubleClick(Program& program)
{
    pickSiteByDoubleClick(program.picker, program.bar);
}

void openDesigns(Program& program)
{
    if (!openDesignWindow(program.designs))
        tellWindowFailed("Design wechseln");
}

void stepBack(Program& program)
{
    stepDesignBack(program.designs);
}

void stepForward(Program& program)
{
    stepDesignForward(program.designs);
}

void activateAndCloseDesignWindow(Program& program)
{
    program.settings.Design = activateDesign(program.designs, program.settings.Design);
    closeDesignWindow();
}

void cancelAndCloseDesignWindow(Program& program)
{
    cancelDesign(program.designs);
    closeDesignWindow();
}

void showInformation(Program& program)
{
    showInformationBox(hotkeyChord(program.hotkey));
}

constexpr std::string_view kAutostartTitle = "Autostart";
constexpr std::string_view kAutostartNotOnText =
    "Die Verknüpfung im Autostart-Ordner lässt sich nicht anlegen.\rTellurix startet nicht mit Windows.";
constexpr std::string_view kAutostartNotOffText =
    "Die Verknüpfung im Autostart-Ordner lässt sich nicht löschen.\rTellurix startet weiter mit Windows.";

// What the buttons show is what the Startup folder holds after the attempt;
// an attempt that did not get there is told.
void showAutostart(bool wanted, bool on)
{
    showAutostartButtons(on);
    if (on != wanted)
        platform::showTrayBalloon(kTrayIcon, kAutostartTitle, on ? kAutostartNotOffText : kAutostartNotOnText);
}

void turnAutostartOn(Program& /*program*/)
{
    showAutostart(true, enableAutostart());
}

void turnAutostartOff(Program& /*program*/)
{
    showAutostart(false, disableAutostart());
}

void suggestionTimer(Program& program)
{
    onSuggestionTimer(program.web);
}

void hideBar(Program& program)
{
    putBarAway(program);
}

void showMenu(Program& program)
{
    // A menu that was not complete is made anew.
    if (!program.trayMenuBuilt)
        program.trayMenuBuilt = buildTrayMenu();
    showTrayMenu();
}

void pinOnTop(Program& /*program*/)
{
    turnTopmostOn();
}

void unpin(Program& /*program*/)
{
    turnTopmostOff();
}

void quitProgram(Program& program)
{
    quit(program);
}

const std::array kRoutes{
    Route{EventKind::Tray, kTrayIcon, EventSubtype::RightPress, showMenu},
    Route{EventKind::Tray, kTrayIcon, EventSubtype::LeftPress, showBar},
    Route{EventKind::BringUp, kMainWindow, kAny, showBar},
    Route{EventKind::Menu, kMenuReturn, kAny, searchFromReturn},
    Route{EventKind::Timer, kSuggestionTimer, kAny, suggestionTimer},
    Route{EventKind::Posted, kPostedListUpdate, kAny, updateList},
    Route{EventKind::Menu, kMenuShow, kAny, showBar},
    Route{EventKind::Menu, kMenuHide, kAny, hideBar},
    Route{EventKind::Menu, kMenuQuit, kAny, quitProgram},
    Route{EventKind::Control, kSiteLabel, kAny, openPicker},
    Route{EventKind::Control, kSearchField, EventSubtype::FocusGained, onSearchFieldFocus},
    Route{EventKind::Control, kSearchField, EventSubtype::FocusLost, onSearchFieldBlur},
    Route{EventKind::Control, kSearchField, EventSubtype::TextChanged, onSearchFieldChanged},
    Route{EventKind::Control, kTopmostOnButton, EventSubtype::LeftClick, pinOnTop},
    Route{EventKind::Control, kTopmostOffButton, EventSubtype::LeftClick, unpin},
    Route{EventKind::Control, kDesignButton, EventSubtype::LeftClick, openDesigns},
    Route{EventKind::Control, kInfoButton, EventSubtype::LeftClick, showInformation},
    Route{EventKind::Control, kQuitButton, EventSubtype::LeftClick, quitProgram},
    Route{EventKind::Control, kAutostartOffButton, EventSubtype::LeftClick, turnAutostartOff},
    Route{EventKind::Control, kAutostartOnButton, EventSubtype::LeftClick, turnAutostartOn},
    Route{EventKind::Control, kSuggestionList, EventSubtype::SelectionChanged, searchClickedRow},
    Route{EventKind::Control, kSuggestionList, EventSubtype::DoubleClick, searchClickedRow},
    Route{EventKind::Control, kPickerList, EventSubtype::DoubleClick, pickByDoubleClick},
    Route{EventKind::Control, kPickerList, kAny, pickFromList},
    Route{EventKind::Control, kDesignBack, kAny, stepBack},
    Route{EventKind::Control, kDesignForward, kAny, stepForward},
    Route{EventKind::Control, kDesignActivate, kAny, activateAndCloseDesignWindow},
    Route{EventKind::Control, kDesignCancel, kAny, cancelAndCloseDesignWindow},
};

bool matches(const Route& route, const Event& event)
{
    return route.kind == event.kind && route.number == event.number &&
           (route.subtype == kAny || route.subtype == event.subtype);
}

void onClose(Program& program, int window)
{
    // Alt+F4 on the picker closes the picker, on the design window it is
    // "Abbrechen" (the bar is disabled while that window is open, so hiding
    // the bar alone would strand the user). Every other close request only
    // hides the bar; the program keeps running in the tray.
    if (window == kPickerWindow) {
        closeSitePicker(program.picker);
        return;
    }
    if (window == kDesignWindow) {
        cancelAndCloseDesignWindow(program);
        return;
    }
    putBarAway(program);
}

}  // namespace

void dispatchEvent(Program& program, const Event& event)
{
    switch (event.kind) {
    case EventKind::Close: onClose(program, event.number); return;
    case EventKind::Key: onKey(program, event); return;
    case EventKind::DpiChanged: onDpiChanged(program, event.number); return;
    case EventKind::HttpDone: onSuggestionAnswer(program.web, program.bar, event.number); return;
    // The queue is gone: nothing more can reach the program, so it ends as
    // "Beenden" ends it, with everything saved.
    case EventKind::Ended: quitNow(program);
    default: break;
    }
    for (const Route& route : kRoutes) {
        if (matches(route, event)) {
            route.handler(program);
            return;
        }
    }
}

void runEventLoopTurn(Program& program)
{
    const Event event = platform::waitEvent();
    dismissSitePicker(program.picker);
    dispatchEvent(program, event);
}

void runEventLoop(Program& program)
{
    for (;;)
        runEventLoopTurn(program);
}

}  // namespace tellurix
