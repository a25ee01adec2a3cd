#include "ui/designs.h"

#include <algorithm>
#include <utility>

#include "core/numbers.h"
#include "core/scale.h"
#include "core/settings.h"
#include "platform/designs.h"
#include "platform/images.h"
#include "platform/controls.h"
#include "platform/windows.h"
#include "ui/images.h"

namespace tellurix {
namespace {

using platform::kNoBrush;

constexpr int kDesignWindowWidth = 260;
constexpr int kDesignWindowHeight = 70;
constexpr const char* kDesignWindowTitle = "Design wechseln";

// Swaps in a new brush and frees the one it replaces, after the new one is in use.
void replaceBrush(int& slot, int brush)
{
    platform::releaseBrush(std::exchange(slot, brush));
}

void setSearchFieldColours(const Designs& state)
{
    platform::ControlColours colours;
    colours.request = platform::ColourRequest::EditField;
    colours.transparentText = true;
    colours.textColour = platform::Rgb{0, 0, 0};
    colours.brush = state.searchFieldBrush;
    platform::setControlColours(kSearchField, colours);
}

void makeSearchFieldBrush(Designs& state, int design)
{
    const int brush = platform::createPatternBrush(design);
    const int old = std::exchange(state.searchFieldBrush, brush);
    if (state.hookInstalled)
        setSearchFieldColours(state);
    platform::releaseBrush(old);
}

void makeBackgroundBrush(Designs& state, int design)
{
    const int brush = platform::createPatternBrush(backgroundOf(design));
    platform::setWindowBackground(kMainWindow, brush);
    replaceBrush(state.backgroundBrush, brush);
    state.current = design;
}

// The bar in `design`: its background and the search field's.
void paintDesign(Designs& state, int design)
{
    makeBackgroundBrush(state, design);
    makeSearchFieldBrush(state, design);
    platform::invalidateWindow(kMainWindow);
}

// "<" only above design 1, ">" only below design 14.
void showChoice(const Designs& state)
{
    const int shown = state.shown;
    platform::setControlImage(kDesignPreview, shown);
    platform::enableControl(kDesignBack, shown > kFirstDesign);
    platform::enableControl(kDesignForward, shown < kLastDesign);
}

// The design window's controls at 96 DPI, in creation order.
struct DesignControl {
    int control;
    platform::ControlKind kind;
    platform::Rect rect;
    const char* text;
};
constexpr DesignControl kDesignControls[] = {
    {kDesignBack, platform::ControlKind::PushButton, {10, 10, 20, 20}, "<"},
    {kDesignForward, platform::ControlKind::PushButton, {230, 10, 20, 20}, ">"},
    {kDesignPreview, platform::ControlKind::ImageControl, {30, 10, kPreviewWidth, kPreviewHeight}, ""},
    {kDesignActivate, platform::ControlKind::PushButton, {40, 40, 100, 20}, "Aktivieren"},
    {kDesignCancel, platform::ControlKind::PushButton, {150, 40, 100, 20}, "Abbrechen"},
};

// The previews of every design but the one the bar shows (which has its
// pictures): while the design window is open; their backgrounds are not kept.
void makeOtherPreviews(int shown, int dpi)
{
    for (int design = kFirstDesign; design <= kLastDesign; ++design) {
        if (design == shown)
            continue;
        loadDesignPictures(design, dpi);
        platform::releaseImage(backgroundOf(design));
    }
}

platform::Rect designWindowRect(int dpi)
{
    using namespace platform;
    const Size outer =
        outerSize(WindowKind::ToolDialog, {scaled(kDesignWindowWidth, dpi), scaled(kDesignWindowHeight, dpi)}, dpi);
    const Rect owner = windowRect(kMainWindow);
    return {std::max(0, owner.x + (owner.width - outer.width) / 2),
            std::max(0, owner.y + (owner.height - outer.height) / 2), outer.width, outer.height};
}

}  // namespace

int designFromStored(int stored)
{
    return stored >= kFirstDesign && stored <= kLastDesign ? stored : kDefaultDesign;
}

int prepareDesigns(Designs& state, int stored, int dpi)
{
    // Only the design shown needs its pictures; the others are made when the
    // design window opens.
    const int design = designFromStored(stored);
    state.current = design;
    loadDesignPictures(design, dpi);
    makeSearchFieldBrush(state, design);
    return design;
}

void applyBackground(Designs& state, int design)
{
    makeBackgroundBrush(state, design);
    platform::invalidateWindow(kMainWindow);
}

void installColourHook(Designs& state)
{
    // The label paints no background: its text stands straight on the design.
    platform::ControlColours label;
    label.request = platform::ColourRequest::StaticText;
    label.transparentText = true;
    label.brush = kNoBrush;
    platform::setControlColours(kSiteLabel, label);
    state.hookInstalled = true;
    setSearchFieldColours(state);
}

bool openDesignWindow(Designs& state)
{
    using namespace platform;
    if (isWindowOpen(kDesignWindow)) {
        setForegroundWindow(kDesignWindow);
        return true;
    }
    state.shown = kFirstDesign;
    const int dpi = windowDpi(kMainWindow);
    makeOtherPreviews(state.current, dpi);
    if (!createWindow(kDesignWindow, WindowKind::ToolDialog, kDesignWindowTitle, designWindowRect(dpi)))
        return false;
    for (const DesignControl& c : kDesignControls) {
        // A window without all its buttons is not shown: it might not close.
        if (!createControl(kDesignWindow, c.control, c.kind, scaledRect(c.rect, dpi), c.text)) {
            closeWindow(kDesignWindow);
            return false;
        }
        if (c.control == kDesignBack)
            enableControl(kDesignBack, false);
        if (c.control == kDesignPreview)
            setControlImage(kDesignPreview, state.shown);
    }
    state.choosing = true;
    enableWindow(kMainWindow, false);
    showWindow(kDesignWindow);
    return true;
}

void layOutDesignWindow(const Designs& state)
{
    if (!platform::isWindowOpen(kDesignWindow))
        return;
    const int dpi = platform::windowDpi(kDesignWindow);
    for (const DesignControl& c : kDesignControls)
        platform::moveControl(c.control, scaledRect(c.rect, dpi));
    // The previews were cut anew for the scale.
    platform::setControlImage(kDesignPreview, state.shown);
}

void showDesignAgain(Designs& state, int design, int dpi)
{
    loadDesignPictures(design, dpi);
    if (state.choosing)
        makeOtherPreviews(design, dpi);
    paintDesign(state, design);
}

void stepDesignBack(Designs& state)
{
    if (!state.choosing || state.shown <= kFirstDesign)
        return;
    --state.shown;
    showChoice(state);
}

void stepDesignForward(Designs& state)
{
    if (!state.choosing || state.shown >= kLastDesign)
        return;
    ++state.shown;
    showChoice(state);
}

int activateDesign(Designs& state, int current)
{
    const int design = designFromStored(state.choosing ? state.shown : current);
    state.choosing = false;
    if (!platform::hasImage(backgroundOf(design)))
        loadDesignPictures(design, platform::windowDpi(kMainWindow));
    paintDesign(state, design);
    releaseDesignPictures(design);
    return design;
}

void cancelDesign(Designs& state)
{
    state.choosing = false;
    releaseDesignPictures(state.current);
}

}  // namespace tellurix
