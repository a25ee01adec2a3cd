#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/events.h"
#include "platform/geometry.h"

// Controls inside the program's windows, their fonts and keyboard shortcuts,
// all addressed by small numbers that the caller chooses. Texts are UTF-8.
namespace tellurix::platform {

// No control has the number 0.
inline constexpr int kNoControl = 0;

enum class ControlKind {
    SiteLabel,    // static text, centred both ways, reports clicks
    SearchField,  // one-line edit without border, scrolls sideways
    ImageButton,  // picture that reports clicks, takes no focus
    ListBox,      // unsorted list with notifications and a vertical scroll bar
    PushButton,
    ImageControl,  // picture that sizes itself to its image
};

[[nodiscard]] bool createControl(int window, int control, ControlKind kind, Rect rect, std::string_view text);
void setControlText(int control, std::string_view text);
std::string controlText(int control);
void showControl(int control, bool show);
bool isControlVisible(int control);
void enableControl(int control, bool enable);
Rect controlScreenRect(int control);
// Moves a control within its window (client coordinates).
void moveControl(int control, Rect rect);
void setFocus(int control);
// The program's control with the keyboard focus, or kNoControl.
int focusedControl();
// From now on these key presses (exactly these modifiers) in the control are
// events of the program's and no longer reach the control; with `characters`
// every typed character does so too. Replaces what the control took before.
void takeKeys(int control, std::span<const KeyPress> keys, bool characters);
// Puts the caret after the last character of an edit control.
void setCaretToEnd(int control);
void listAppend(int control, std::string_view text);
// Takes every item out of a list.
void listClear(int control);
// The height of one item of a list, in pixels.
int listItemHeight(int control);
int listCount(int control);
int listSelection(int control);  // -1 when nothing is selected
// Selects an item and scrolls it into view, without a selection event.
void setListSelection(int control, int index);
// How many items the list shows at once (at least 1).
int listVisibleItems(int control);
std::string listItemText(int control, int index);

// A font of the default face, in points at a DPI, of the given weight
// (replacing one of that number).
[[nodiscard]] bool createFont(int font, int points, int weight, int dpi);
void setControlFont(int control, int font);
// Return without modifiers on `window` raises menu event `menuItem`.
void registerReturnShortcut(int window, int menuItem);

}  // namespace tellurix::platform
