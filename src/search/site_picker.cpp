#include "search/site_picker.h"

#include "core/numbers.h"
#include "platform/window_toolkit.h"
#include "search/catalogue.h"
#include "search/site_choice.h"

namespace tellurix {
namespace {

constexpr int kPickerWidth = 150;
constexpr int kPickerHeight = 200;
constexpr int kLabelHeight = 20;

}  // namespace

void openSitePicker()
{
    using namespace platform;
    const Rect label = controlScreenRect(kSiteLabel);
    if (isWindowOpen(kPickerWindow))
        closeWindow(kPickerWindow);
    const Rect outer{label.x, label.y + kLabelHeight, kPickerWidth, kPickerHeight};
    if (!createWindow(kPickerWindow, WindowKind::Popup, "", outer))
        return;
    createControl(kPickerWindow, kPickerList, ControlKind::ListBox, {0, 0, kPickerWidth, kPickerHeight}, "");
    for (int position = 0; position < kCatalogueSize; ++position) {
        const SearchSite& site = searchSite(position);
        if (!site.label.empty())
            listAppend(kPickerList, site.label);
    }
    showWindow(kPickerWindow);
    setForegroundWindow(kPickerWindow);
    setFocus(kPickerList);
}

void pickSite()
{
    using namespace platform;
    const int selection = listSelection(kPickerList);
    if (selection < 0)
        return;
    chooseSite(listItemText(kPickerList, selection));
    closeWindow(kPickerWindow);
    // The bar, the picker's owner, is the active window again; not every
    // window manager hands the activation back by itself.
    setForegroundWindow(kMainWindow);
    // The label is drawn straight onto the background, so the old text has to
    // be painted over.
    invalidateWindow(kMainWindow);
}

void dismissSitePicker()
{
    using namespace platform;
    if (isWindowOpen(kPickerWindow) && foregroundWindow() == kMainWindow)
        closeWindow(kPickerWindow);
}

void closeSitePicker()
{
    if (platform::isWindowOpen(kPickerWindow))
        platform::closeWindow(kPickerWindow);
}

}  // namespace tellurix
