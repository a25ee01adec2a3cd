#include <deque>
#include <map>
#include <set>
#include <string>

#include "platform/fake/fake_designs.h"
#include "platform/fake/fake_toolkit.h"
#include "platform/fake/fake_tray.h"
#include "platform/notices.h"
#include "platform/shell.h"
#include "platform/threads.h"
#include "platform/window_toolkit.h"

namespace tellurix::platform {
namespace {

struct Toolkit {
    std::map<int, fake::WindowState> windows;
    std::map<int, fake::ControlState> controls;
    std::set<int> failingWindows;
    std::set<int> fonts;
    std::deque<Event> events;
    std::vector<std::string> log;
    Size screen{1280, 800};
    int foreground = kNoWindow;
    int focus = kNoControl;
    std::set<int> keysDown;
    int bringUps = 0;
    bool threadRunning = false;
    bool shuttingDown = false;
    std::vector<std::string> urls;
    int boxes = 0;
    std::string boxTitle;
    std::string boxText;
    std::map<int, fake::BalloonTip> tips;
    void (*onSessionEnd)() = nullptr;
};

Toolkit& kit()
{
    static Toolkit instance;
    return instance;
}

void record(const std::string& what, int number)
{
    kit().log.push_back(what + " " + std::to_string(number));
}

fake::WindowState* findWindow(int number)
{
    auto it = kit().windows.find(number);
    return it == kit().windows.end() ? nullptr : &it->second;
}

fake::ControlState* findControl(int number)
{
    auto it = kit().controls.find(number);
    return it == kit().controls.end() ? nullptr : &it->second;
}

// Moves the keyboard focus, raising the focus events a real edit control raises.
void moveFocus(int control)
{
    Toolkit& k = kit();
    if (k.focus == control)
        return;
    if (auto* old = findControl(k.focus); old && old->kind == ControlKind::SearchField)
        k.events.push_back({EventKind::Control, k.focus, EventSubtype::FocusLost});
    k.focus = control;
    if (auto* now = findControl(control); now && now->kind == ControlKind::SearchField)
        k.events.push_back({EventKind::Control, control, EventSubtype::FocusGained});
}

}  // namespace

// --- Screen and windows -----------------------------------------------------

Size screenSize()
{
    return kit().screen;
}

Size outerSize(WindowKind kind, Size client)
{
    // A fixed frame, so the tests can compute positions exactly.
    if (kind == WindowKind::Popup)
        return client;
    return {client.width + 6, client.height + 25};
}

bool createWindow(int window, WindowKind kind, std::string_view title, Rect outer)
{
    record("createWindow", window);
    if (kit().failingWindows.count(window))
        return false;
    fake::WindowState state;
    state.kind = kind;
    state.title = std::string(title);
    state.outer = outer;
    kit().windows[window] = state;
    return true;
}

bool isWindowOpen(int window)
{
    return findWindow(window) != nullptr;
}

void closeWindow(int window)
{
    record("closeWindow", window);
    Toolkit& k = kit();
    for (auto it = k.controls.begin(); it != k.controls.end();) {
        if (it->second.window == window) {
            if (k.focus == it->first)
                k.focus = kNoControl;
            it = k.controls.erase(it);
        } else {
            ++it;
        }
    }
    k.windows.erase(window);
    // An owned window hands the activation back to its owner.
    if (k.foreground == window)
        k.foreground = window == kMainWindow ? kNoWindow : kMainWindow;
}

Rect windowRect(int window)
{
    auto* w = findWindow(window);
    return w ? w->outer : Rect{};
}

void showWindow(int window)
{
    record("showWindow", window);
    if (auto* w = findWindow(window))
        w->visible = true;
}

void hideWindow(int window)
{
    record("hideWindow", window);
    if (auto* w = findWindow(window)) {
        w->visible = false;
        if (kit().foreground == window)
            kit().foreground = kNoWindow;
    }
}

bool isWindowVisible(int window)
{
    auto* w = findWindow(window);
    return w && w->visible;
}

void setTopmost(int window, bool topmost)
{
    record(topmost ? "setTopmost" : "clearTopmost", window);
    if (auto* w = findWindow(window))
        w->topmost = topmost;
}

bool isTopmost(int window)
{
    auto* w = findWindow(window);
    return w && w->topmost;
}

void setForegroundWindow(int window)
{
    record("setForegroundWindow", window);
    if (auto* w = findWindow(window); w && w->visible)
        kit().foreground = window;
}

int foregroundWindow()
{
    return kit().foreground;
}

void enableWindow(int window, bool enable)
{
    record(enable ? "enableWindow" : "disableWindow", window);
    if (auto* w = findWindow(window))
        w->enabled = enable;
}

bool isWindowEnabled(int window)
{
    auto* w = findWindow(window);
    return w && w->enabled;
}

void invalidateWindow(int window)
{
    record("invalidateWindow", window);
}

// --- Controls ---------------------------------------------------------------

bool createControl(int window, int control, ControlKind kind, Rect rect, std::string_view text)
{
    record("createControl", control);
    if (!findWindow(window))
        return false;
    fake::ControlState state;
    state.window = window;
    state.kind = kind;
    state.rect = rect;
    state.text = std::string(text);
    state.textUtf8 = state.text;
    kit().controls[control] = state;
    return true;
}

void setControlText(int control, std::string_view text)
{
    record("setControlText", control);
    if (auto* c = findControl(control)) {
        c->text = std::string(text);
        c->textUtf8 = c->text;
    }
}

std::string controlText(int control)
{
    auto* c = findControl(control);
    return c ? c->text : std::string();
}

std::string controlTextUtf8(int control)
{
    auto* c = findControl(control);
    return c ? c->textUtf8 : std::string();
}

void showControl(int control, bool show)
{
    record(show ? "showControl" : "hideControl", control);
    if (auto* c = findControl(control))
        c->visible = show;
}

bool isControlVisible(int control)
{
    auto* c = findControl(control);
    return c && c->visible;
}

void enableControl(int control, bool enable)
{
    record(enable ? "enableControl" : "disableControl", control);
    if (auto* c = findControl(control))
        c->enabled = enable;
}

bool isControlEnabled(int control)
{
    auto* c = findControl(control);
    return c && c->enabled;
}

Rect controlScreenRect(int control)
{
    auto* c = findControl(control);
    if (!c)
        return {};
    const Rect owner = windowRect(c->window);
    // The fake frame puts the client area 3 px in and 22 px down.
    const int dx = findWindow(c->window) && findWindow(c->window)->kind == WindowKind::Popup ? 0 : 3;
    const int dy = dx == 0 ? 0 : 22;
    return {owner.x + dx + c->rect.x, owner.y + dy + c->rect.y, c->rect.width, c->rect.height};
}

Size controlSize(int control)
{
    auto* c = findControl(control);
    return c ? Size{c->rect.width, c->rect.height} : Size{};
}

void setFocus(int control)
{
    record("setFocus", control);
    if (findControl(control))
        moveFocus(control);
}

int focusedControl()
{
    return kit().focus;
}

void listAppend(int control, std::string_view text)
{
    if (auto* c = findControl(control))
        c->items.emplace_back(text);
}

int listCount(int control)
{
    auto* c = findControl(control);
    return c ? static_cast<int>(c->items.size()) : 0;
}

int listSelection(int control)
{
    auto* c = findControl(control);
    return c ? c->selection : -1;
}

std::string listItemText(int control, int index)
{
    auto* c = findControl(control);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size()))
        return {};
    return c->items[static_cast<std::size_t>(index)];
}

bool createFont(int font, int /*points*/, int /*weight*/)
{
    record("createFont", font);
    kit().fonts.insert(font);
    return true;
}

void setControlFont(int control, int font)
{
    record("setControlFont", control);
    if (auto* c = findControl(control))
        c->font = font;
}

void registerReturnShortcut(int window, int menuItem)
{
    record("registerReturnShortcut", window * 100 + menuItem);
}

// --- Notices, shell ---------------------------------------------------------

void addBalloonTip(int control, std::string_view text, std::string_view title, int icon)
{
    record("addBalloonTip", control);
    kit().tips[control] = {std::string(title), std::string(text), icon};
}

void showMessageBox(std::string_view title, std::string_view text)
{
    record("showMessageBox", 0);
    ++kit().boxes;
    kit().boxTitle = std::string(title);
    kit().boxText = std::string(text);
}

bool launchUrl(std::string_view url)
{
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0)
        return false;
    kit().urls.emplace_back(url);
    return true;
}

// --- Events and process -----------------------------------------------------

Event waitEvent()
{
    Toolkit& k = kit();
    if (k.events.empty())
        throw fake::NoMoreEvents{};
    const Event event = k.events.front();
    k.events.pop_front();
    return event;
}

void setSessionEndHandler(void (*handler)())
{
    kit().onSessionEnd = handler;
}

void releaseAll()
{
    record("releaseAll", 0);
    kit().windows.clear();
    kit().controls.clear();
}

void exitProcess(int code)
{
    record("exitProcess", code);
    throw fake::ProcessExit{code};
}

// --- Threads and keys -------------------------------------------------------

bool startThread(ThreadEntry /*entry*/, int argument)
{
    // The watcher loops forever; tests poll it one step at a time instead.
    record("startThread", argument);
    kit().threadRunning = true;
    return true;
}

void releaseThread()
{
    record("releaseThread", 0);
}

void sleepMilliseconds(int /*milliseconds*/) {}

bool isKeyDown(int virtualKey)
{
    return kit().keysDown.count(virtualKey) != 0;
}

void requestBringUp()
{
    if (kit().shuttingDown)
        return;
    ++kit().bringUps;
    showWindow(kMainWindow);
    setForegroundWindow(kMainWindow);
}

void beginShutdown()
{
    record("beginShutdown", 0);
    kit().shuttingDown = true;
}

bool isShuttingDown()
{
    return kit().shuttingDown;
}

bool claimSingleInstance()
{
    return true;
}

void bringUpRunningInstance() {}

// --- Test controls ----------------------------------------------------------

namespace fake {

void reset()
{
    // Everything a process holds; the disk, the environment and the shell's
    // folders outlive it.
    kit() = Toolkit{};
    resetTray();
    resetImages();
    resetDesigns();
}

const std::vector<std::string>& callLog()
{
    return kit().log;
}

void clearCallLog()
{
    kit().log.clear();
}

const WindowState* window(int number)
{
    return findWindow(number);
}

const ControlState* control(int number)
{
    return findControl(number);
}

ControlState* mutableControl(int number)
{
    return findControl(number);
}

void queueEvent(const Event& event)
{
    kit().events.push_back(event);
}

void setScreenSize(Size size)
{
    kit().screen = size;
}

void failWindowCreation(int number, bool fail)
{
    if (fail)
        kit().failingWindows.insert(number);
    else
        kit().failingWindows.erase(number);
}

void setForeground(int number)
{
    kit().foreground = number;
}

void setFocusedControl(int number)
{
    moveFocus(number);
}

void typeText(int number, const std::string& cp1252, const std::string& utf8)
{
    if (auto* c = findControl(number)) {
        c->text = cp1252;
        c->textUtf8 = utf8;
    }
}

void selectListItem(int number, int index)
{
    if (auto* c = findControl(number))
        c->selection = index;
}

void setKeyDown(int virtualKey, bool down)
{
    if (down)
        kit().keysDown.insert(virtualKey);
    else
        kit().keysDown.erase(virtualKey);
}

int bringUpRequests()
{
    return kit().bringUps;
}

bool threadStarted()
{
    return kit().threadRunning;
}

std::vector<std::string> launchedUrls()
{
    return kit().urls;
}

const BalloonTip* balloonTip(int control)
{
    auto it = kit().tips.find(control);
    return it == kit().tips.end() ? nullptr : &it->second;
}

int messageBoxesShown()
{
    return kit().boxes;
}

std::string lastMessageBoxTitle()
{
    return kit().boxTitle;
}

std::string lastMessageBoxText()
{
    return kit().boxText;
}

void (*sessionEndHandler())()
{
    return kit().onSessionEnd;
}

}  // namespace fake
}  // namespace tellurix::platform
