#include "fake_platform/fake_designs.h"
#include "fake_platform/fake_state.h"
#include "fake_platform/fake_tray.h"
#include "platform/controls.h"
#include "platform/screen.h"
#include "platform/windows.h"

namespace tellurix::platform::fake::internal {

Toolkit& kit()
{
    static Toolkit instance;
    return instance;
}

void record(const std::string& what, int number)
{
    kit().log.push_back(what + " " + std::to_string(number));
}

WindowState* findWindow(int number)
{
    auto it = kit().windows.find(number);
    return it == kit().windows.end() ? nullptr : &it->second;
}

ControlState* findControl(int number)
{
    auto it = kit().controls.find(number);
    return it == kit().controls.end() ? nullptr : &it->second;
}

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

}  // namespace tellurix::platform::fake::internal

namespace tellurix::platform {

using namespace fake::internal;

// --- Screen and windows -----------------------------------------------------

Size screenSize()
{
    return kit().screen;
}

int screenDpi()
{
    return kit().screenDpi;
}

namespace {

std::vector<Rect> monitors()
{
    if (kit().workAreas.empty())
        return {Rect{0, 0, kit().screen.width, kit().screen.height}};
    return kit().workAreas;
}

long long distanceSquared(Rect area, Point at)
{
    const long long dx = at.x < area.x                 ? area.x - at.x
                         : at.x >= area.x + area.width ? at.x - (area.x + area.width - 1)
                                                       : 0;
    const long long dy = at.y < area.y                  ? area.y - at.y
                         : at.y >= area.y + area.height ? at.y - (area.y + area.height - 1)
                                                        : 0;
    return dx * dx + dy * dy;
}

}  // namespace

Rect workAreaAt(Point at)
{
    const std::vector<Rect> areas = monitors();
    Rect best = areas.front();
    for (const Rect& area : areas)
        if (distanceSquared(area, at) < distanceSquared(best, at))
            best = area;
    return best;
}

Rect workAreaOf(int window)
{
    const Rect outer = windowRect(window);
    return workAreaAt({outer.x + outer.width / 2, outer.y + outer.height / 2});
}

Size outerSize(WindowKind kind, Size client, int /*dpi*/)
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
    if (kind == WindowKind::MainBar && kit().mainWindow == kNoWindow)
        kit().mainWindow = window;
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
    const bool main = window == k.mainWindow;
    if (main)
        k.mainWindow = kNoWindow;
    // An owned window hands the activation back to its owner.
    if (k.foreground == window)
        k.foreground = main ? kNoWindow : k.mainWindow;
}

Rect windowRect(int window)
{
    auto* w = findWindow(window);
    return w ? w->outer : Rect{};
}

void moveWindow(int window, Rect outer)
{
    record("moveWindow", window);
    if (auto* w = findWindow(window))
        w->outer = outer;
}

int windowDpi(int window)
{
    auto it = kit().windowDpis.find(window);
    return it == kit().windowDpis.end() ? kit().screenDpi : it->second;
}

void bringToFront(int window)
{
    showWindow(window);
    setForegroundWindow(window);
}

void prepareFirstShow(int window)
{
    record("prepareFirstShow", window);
}

void showWindow(int window)
{
    record("showWindow", window);
    if (auto* w = findWindow(window))
        w->visible = true;
}

void showWindowWithoutActivating(int window)
{
    record("showWindowWithoutActivating", window);
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

void invalidateWindow(int window)
{
    record("invalidateWindow", window);
}

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

void setScreenDpi(int dpi)
{
    kit().screenDpi = dpi;
}

void setWindowDpi(int window, int dpi)
{
    kit().windowDpis[window] = dpi;
}

void setMonitors(const std::vector<Rect>& workAreas)
{
    kit().workAreas = workAreas;
}

int fontDpi(int font)
{
    auto it = kit().fontDpis.find(font);
    return it == kit().fontDpis.end() ? 0 : it->second;
}

void setForeground(int number)
{
    kit().foreground = number;
}

}  // namespace fake
}  // namespace tellurix::platform
