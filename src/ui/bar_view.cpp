#include "ui/bar_view.h"

#include <array>
#include <span>
#include <string>

#include "core/numbers.h"
#include "platform/controls.h"
#include "platform/windows.h"

namespace tellurix {
namespace {

using platform::Key;
using platform::KeyPress;

constexpr std::array kSearchFieldKeys{
    KeyPress{Key::Down, true},
    KeyPress{Key::F4},
    KeyPress{Key::Up},
    KeyPress{Key::Down},
    KeyPress{Key::Delete, false, true},
    KeyPress{Key::Delete, false, true, true},
    KeyPress{Key::Escape},
};

}  // namespace

void takeSearchFieldKeys(bool listOpen)
{
    const std::span<const KeyPress> keys(kSearchFieldKeys);
    platform::takeKeys(kSearchField, listOpen ? keys : keys.first(keys.size() - 1), false);
}

void showSiteLabel(const SearchBar& bar)
{
    const std::string label = bar.label();
    if (platform::controlText(kSiteLabel) == label)
        return;
    platform::setControlText(kSiteLabel, label);
    // The label is drawn straight onto the background: paint the old text over.
    platform::invalidateWindow(kMainWindow);
}

void showFieldText(const SearchBar& bar)
{
    const bool typing = platform::focusedControl() == kSearchField;
    const std::string_view text = bar.text().empty() && !typing ? kPlaceholder : std::string_view(bar.text());
    if (platform::controlText(kSearchField) != text)
        platform::setControlText(kSearchField, text);
    if (typing)
        platform::setCaretToEnd(kSearchField);
}

void showFieldAfterSearch()
{
    platform::setControlText(kSearchField, kPlaceholder);
}

void onFieldFocus(const SearchBar& bar)
{
    if (bar.text().empty() && platform::controlText(kSearchField) == kPlaceholder)
        platform::setControlText(kSearchField, "");
}

void onFieldBlur(const SearchBar& bar)
{
    if (bar.text().empty() && platform::controlText(kSearchField).empty())
        platform::setControlText(kSearchField, kPlaceholder);
}

bool onFieldChanged(SearchBar& bar)
{
    // Only where the user types can the user have changed the text; and the
    // placeholder in an empty field is the program's own (a hidden bar may
    // keep the focus in the field when the placeholder comes back).
    if (platform::focusedControl() != kSearchField)
        return false;
    std::string text = platform::controlText(kSearchField);
    if (text == bar.text() || (bar.text().empty() && text == kPlaceholder))
        return false;
    bar.edit(std::move(text));
    showSiteLabel(bar);
    return true;
}

}  // namespace tellurix
