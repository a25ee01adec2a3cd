#include <algorithm>

#include "fake_platform/fake_state.h"
#include "platform/controls.h"
#include "platform/windows.h"

namespace tellurix::platform {

using namespace fake::internal;

// --- Controls ---------------------------------------------------------------

bool createControl(int window, int control, ControlKind kind, Rect rect, std::string_view text)
{
    record("createControl", control);
    if (!findWindow(window) || kit().failingControls.count(control) != 0)
        return false;
    fake::ControlState state;
    state.window = window;
    state.kind = kind;
    state.rect = rect;
    state.text = std::string(text);
    kit().controls[control] = state;
    return true;
}

void setControlText(int control, std::string_view text)
{
    record("setControlText", control);
    if (auto* c = findControl(control)) {
        c->text = std::string(text);
        c->caretAtEnd = false;
    }
}

std::string controlText(int control)
{
    auto* c = findControl(control);
    return c ? c->text : std::string();
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

void moveControl(int control, Rect rect)
{
    record("moveControl", control);
    if (auto* c = findControl(control))
        c->rect = rect;
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

void takeKeys(int control, std::span<const KeyPress> keys, bool characters)
{
    if (auto* c = findControl(control)) {
        c->takenKeys.assign(keys.begin(), keys.end());
        c->takesCharacters = characters;
    }
}

void setCaretToEnd(int control)
{
    if (auto* c = findControl(control))
        c->caretAtEnd = true;
}

void setListSelection(int control, int index)
{
    if (auto* c = findControl(control))
        c->selection = index >= 0 && index < static_cast<int>(c->items.size()) ? index : -1;
}

int listVisibleItems(int /*control*/)
{
    return fake::kVisibleListItems;
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

bool createFont(int font, int /*points*/, int /*weight*/, int dpi)
{
    record("createFont", font);
    kit().fonts.insert(font);
    kit().fontDpis[font] = dpi;
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

namespace fake {

const ControlState* control(int number)
{
    return findControl(number);
}

ControlState* mutableControl(int number)
{
    return findControl(number);
}

void failControlCreation(int control)
{
    kit().failingControls.insert(control);
}

void setFocusedControl(int number)
{
    moveFocus(number);
}

void typeText(int number, const std::string& text)
{
    if (auto* c = findControl(number))
        c->text = text;
}

bool pressKey(const KeyPress& key)
{
    auto* c = findControl(kit().focus);
    if (!c)
        return false;
    const bool taken = key.key == Key::Character
                           ? c->takesCharacters
                           : std::find(c->takenKeys.begin(), c->takenKeys.end(), key) != c->takenKeys.end();
    if (!taken)
        return false;
    Event event{EventKind::Key, kit().focus, EventSubtype::None};
    event.key = key;
    kit().events.push_back(event);
    return true;
}

void selectListItem(int number, int index)
{
    if (auto* c = findControl(number))
        c->selection = index;
}

}  // namespace fake
}  // namespace tellurix::platform
