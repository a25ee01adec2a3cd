#include "ui/site_picker.h"

#include <array>

#include "core/numbers.h"
#include "core/scale.h"
#include "core/text.h"
#include "platform/controls.h"
#include "platform/windows.h"
#include "ui/bar_view.h"

namespace tellurix {
namespace {

using platform::Key;
using platform::KeyPress;

constexpr int kPickerWidth = 150;
constexpr int kPickerHeight = 200;

// Flush under the site label, at the bar's scale.
platform::Rect pickerRect()
{
    const int dpi = platform::windowDpi(kMainWindow);
    const platform::Rect label = platform::controlScreenRect(kSiteLabel);
    return {label.x, label.y + label.height, scaled(kPickerWidth, dpi), scaled(kPickerHeight, dpi)};
}

constexpr std::array kPickerKeys{
    KeyPress{Key::Up},   KeyPress{Key::Down}, KeyPress{Key::PageUp}, KeyPress{Key::PageDown},
    KeyPress{Key::Home}, KeyPress{Key::End},  KeyPress{Key::Return}, KeyPress{Key::Escape},
};

// The user is back in the bar, in the search field with the text as it was.
void closeToSearchField(SitePicker& picker)
{
    using namespace platform;
    const bool keyboard = picker.keyboardMode;
    picker.keyboardMode = false;
    closeWindow(kPickerWindow);
    setForegroundWindow(kMainWindow);
    if (keyboard)
        setFocus(kSearchField);
}

void pickHighlighted(SitePicker& picker, SearchBar& bar)
{
    const int selection = platform::listSelection(kPickerList);
    if (selection < 0)
        return;
    bar.chooseSite(platform::listItemText(kPickerList, selection));
    closeToSearchField(picker);
    showSiteLabel(bar);
}

// The next item after `from` (wrapping) whose label begins with the typed
// character, A to Z without regard to case; `from` itself when there is none.
int nextStartingWith(char32_t typed, int from)
{
    const std::string letter = utf8Of(typed);
    const int count = platform::listCount(kPickerList);
    for (int step = 1; step <= count; ++step) {
        const int index = (from + step) % count;
        const std::string label = platform::listItemText(kPickerList, index);
        if (equalsIgnoringAsciiCase(std::string_view(label).substr(0, letter.size()), letter))
            return index;
    }
    return from;
}

}  // namespace

bool openSitePicker(SitePicker& picker, const SearchBar& bar)
{
    picker.keyboardMode = false;
    using namespace platform;
    if (isWindowOpen(kPickerWindow))
        closeWindow(kPickerWindow);
    const Rect outer = pickerRect();
    if (!createWindow(kPickerWindow, WindowKind::Popup, "", outer))
        return false;
    if (!createControl(kPickerWindow, kPickerList, ControlKind::ListBox, {0, 0, outer.width, outer.height}, "")) {
        closeWindow(kPickerWindow);
        return false;
    }
    for (const std::string& label : bar.catalogue().labels())
        listAppend(kPickerList, label);
    showWindow(kPickerWindow);
    setForegroundWindow(kPickerWindow);
    setFocus(kPickerList);
    return true;
}

void layOutSitePicker()
{
    if (!platform::isWindowOpen(kPickerWindow))
        return;
    const platform::Rect outer = pickerRect();
    platform::moveWindow(kPickerWindow, outer);
    platform::moveControl(kPickerList, {0, 0, outer.width, outer.height});
}

bool openSitePickerFromKeyboard(SitePicker& picker, const SearchBar& bar)
{
    using namespace platform;
    if (!openSitePicker(picker, bar))
        return false;
    picker.keyboardMode = true;
    takeKeys(kPickerList, kPickerKeys, true);
    const std::string& current = bar.currentSite();
    for (int index = 0; index < listCount(kPickerList); ++index) {
        if (listItemText(kPickerList, index) == current) {
            setListSelection(kPickerList, index);
            break;
        }
    }
    return true;
}

void onPickerKey(SitePicker& picker, SearchBar& bar, const platform::KeyPress& press)
{
    using namespace platform;
    if (!picker.keyboardMode || !isWindowOpen(kPickerWindow))
        return;
    const int count = listCount(kPickerList);
    const int last = count - 1;
    const int now = listSelection(kPickerList);
    const int page = listVisibleItems(kPickerList);
    int next = now;
    switch (press.key) {
    case Key::Up: next = now < 0 ? 0 : now - 1; break;
    case Key::Down: next = now + 1; break;
    case Key::PageUp: next = now - page; break;
    case Key::PageDown: next = now < 0 ? page - 1 : now + page; break;
    case Key::Home: next = 0; break;
    case Key::End: next = last; break;
    case Key::Character: next = nextStartingWith(press.character, now < 0 ? last : now); break;
    case Key::Return: pickHighlighted(picker, bar); return;
    case Key::Escape: closeToSearchField(picker); return;
    default: return;
    }
    if (count > 0)
        setListSelection(kPickerList, next < 0 ? 0 : next > last ? last : next);
}

void pickSiteByDoubleClick(SitePicker& picker, SearchBar& bar)
{
    pickHighlighted(picker, bar);
}

void pickSite(SitePicker& picker, SearchBar& bar)
{
    if (!picker.keyboardMode)
        pickHighlighted(picker, bar);
}

void dismissSitePicker(SitePicker& picker)
{
    using namespace platform;
    if (isWindowOpen(kPickerWindow) && foregroundWindow() == kMainWindow) {
        picker.keyboardMode = false;
        closeWindow(kPickerWindow);
    }
}

void closeSitePicker(SitePicker& picker)
{
    if (platform::isWindowOpen(kPickerWindow))
        closeToSearchField(picker);
}

}  // namespace tellurix
