#include "app/event_loop.h"

#include <array>

#include "app/main_window.h"
#include "app/program.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "search/search_history.h"
#include "search/search_launch.h"
#include "search/site_choice.h"
#include "search/site_picker.h"
#include "settings/autostart.h"
#include "platform/controls.h"
#include "platform/notices.h"
#include "platform/trace.h"
#include "settings/history_file.h"
#include "ui/designs.h"
#include "ui/notices.h"
#include "ui/tray.h"

namespace tellurix {
namespace {

using platform::Event;
using platform::EventKind;
using platform::EventSubtype;

using Handler = void (*)();

// A row matches an event of its kind and number; `subtype` None matches every subtype.
struct Route {
    EventKind kind;
    int number;
    EventSubtype subtype;
    Handler handler;
};

constexpr EventSubtype kAny = EventSubtype::None;

void showBar()
{
    refreshOwnSites();
    bringUpMainWindow();
    platform::markStep("bar shown");
}

void searchFromReturn()
{
    platform::markStep("return");
    const auto url = searchUrlFromBar();
    if (!url)
        return;
    const std::string typed = platform::controlText(kSearchField);
    // The bar goes first, so the browser comes up in front of the desktop.
    hideMainWindow();
    launchSearch(*url);
    if (rememberSearch(typed))
        saveHistory(kProgramName, history());
}

void onSearchFieldChanged()
{
    onSearchFieldEdited();
    showSiteForField();
}

constexpr std::string_view kHistoryTitle = "Suchverlauf";
constexpr std::string_view kClearHistoryQuestion = "Suchverlauf löschen?";

void onSearchFieldKey(const platform::KeyPress& press)
{
    using platform::Key;
    if ((press.key == Key::Down && press.alt) || press.key == Key::F4) {
        openSitePickerFromKeyboard();
    } else if (press.key == Key::Up) {
        recallOlder();
    } else if (press.key == Key::Down) {
        recallNewer();
    } else if (press.key == Key::Delete && press.shift && press.control) {
        if (platform::askYesNo(kHistoryTitle, kClearHistoryQuestion)) {
            clearHistory();
            deleteHistoryFile(kProgramName);
        }
    } else if (press.key == Key::Delete && press.shift) {
        if (forgetRecalled())
            saveHistory(kProgramName, history());
    }
}

void onKey(const Event& event)
{
    if (event.number == kSearchField)
        onSearchFieldKey(event.key);
    else if (event.number == kPickerList)
        onPickerKey(event.key);
}

void activateAndCloseDesignWindow()
{
    programSettings().Design = activateDesign(programSettings().Design);
    closeDesignWindow();
}

void cancelAndCloseDesignWindow()
{
    cancelDesign();
    closeDesignWindow();
}

[[noreturn]] void quitProgram()
{
    quit();
}

void showInformation()
{
    showInformationBox(currentHotkeyChord());
}

void turnAutostartOn()
{
    showAutostartButtons(enableAutostart());
}

void turnAutostartOff()
{
    showAutostartButtons(disableAutostart());
}

const std::array kRoutes{
    Route{EventKind::Tray, kTrayIcon, EventSubtype::RightPress, showTrayMenu},
    Route{EventKind::Tray, kTrayIcon, EventSubtype::LeftPress, showBar},
    Route{EventKind::BringUp, kMainWindow, kAny, showBar},
    Route{EventKind::Menu, kMenuReturn, kAny, searchFromReturn},
    Route{EventKind::Menu, kMenuShow, kAny, showBar},
    Route{EventKind::Menu, kMenuHide, kAny, hideMainWindow},
    Route{EventKind::Menu, kMenuQuit, kAny, quitProgram},
    Route{EventKind::Control, kSiteLabel, kAny, openSitePicker},
    Route{EventKind::Control, kSearchField, EventSubtype::FocusGained, onSearchFieldFocus},
    Route{EventKind::Control, kSearchField, EventSubtype::FocusLost, onSearchFieldBlur},
    Route{EventKind::Control, kSearchField, EventSubtype::TextChanged, onSearchFieldChanged},
    Route{EventKind::Control, kTopmostOnButton, EventSubtype::LeftClick, turnTopmostOn},
    Route{EventKind::Control, kTopmostOffButton, EventSubtype::LeftClick, turnTopmostOff},
    Route{EventKind::Control, kDesignButton, EventSubtype::LeftClick, openDesignWindow},
    Route{EventKind::Control, kInfoButton, EventSubtype::LeftClick, showInformation},
    Route{EventKind::Control, kQuitButton, EventSubtype::LeftClick, quitProgram},
    Route{EventKind::Control, kAutostartOffButton, EventSubtype::LeftClick, turnAutostartOff},
    Route{EventKind::Control, kAutostartOnButton, EventSubtype::LeftClick, turnAutostartOn},
    Route{EventKind::Control, kPickerList, EventSubtype::DoubleClick, pickSiteByDoubleClick},
    Route{EventKind::Control, kPickerList, kAny, pickSite},
    Route{EventKind::Control, kDesignBack, kAny, stepDesignBack},
    Route{EventKind::Control, kDesignForward, kAny, stepDesignForward},
    Route{EventKind::Control, kDesignActivate, kAny, activateAndCloseDesignWindow},
    Route{EventKind::Control, kDesignCancel, kAny, cancelAndCloseDesignWindow},
};

bool matches(const Route& route, const Event& event)
{
    return route.kind == event.kind && route.number == event.number &&
           (route.subtype == kAny || route.subtype == event.subtype);
}

void onClose(int window)
{
    // Alt+F4 on the picker closes the picker, on the design window it is
    // "Abbrechen" (the bar is disabled while that window is open, so hiding
    // the bar alone would strand the user). Every other close request only
    // hides the bar; the program keeps running in the tray.
    if (window == kPickerWindow) {
        closeSitePicker();
        return;
    }
    if (window == kDesignWindow) {
        cancelAndCloseDesignWindow();
        return;
    }
    hideMainWindow();
}

}  // namespace

void dispatchEvent(const Event& event)
{
    if (event.kind == EventKind::Close) {
        onClose(event.number);
        return;
    }
    if (event.kind == EventKind::Key) {
        onKey(event);
        return;
    }
    if (event.kind == EventKind::DpiChanged) {
        onDpiChanged(event.number);
        return;
    }
    for (const Route& route : kRoutes) {
        if (matches(route, event)) {
            route.handler();
            return;
        }
    }
}

void runEventLoopTurn()
{
    const Event event = platform::waitEvent();
    dismissSitePicker();
    dispatchEvent(event);
}

void runEventLoop()
{
    for (;;)
        runEventLoopTurn();
}

}  // namespace tellurix
