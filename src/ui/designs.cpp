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

struct DesignState {
    // The two brushes of the current design; the program owns them.
    int backgroundBrush = kNoBrush;
    int searchFieldBrush = kNoBrush;
    bool hookInstalled = false;
    // The design the bar shows (its brushes above).
    int current = kDefaultDesign;
    // While the design window is open: the design it shows.
    bool choosing = false;
    int shown = kFirstDesign;
};

DesignState& designs()
{
    static DesignState state;
    return state;
}

// Swaps in a new brush and frees the one it replaces, after the new one is in use.
void replaceBrush(int& slot, int brush)
{
    platform::releaseBrush(std::exchange(slot, brush));
}

void setSearchFieldColours()
{
    platform::ControlColours colours;
    colours.request = platform::ColourRequest::EditField;
    colours.transparentText = true;
    colours.textColour = platform::Rgb{0, 0, 0};
    colours.brush = designs().searchFieldBrush;
    platform::setControlColours(kSearchField, colours);
}

void makeSearchFieldBrush(int design)
{
    DesignState& state = designs();
    const int brush = platform::createPatternBrush(design);
    const int old = std::exchange(state.searchFieldBrush, brush);
    if (state.hookInstalled)
        setSearchFieldColours();
    platform::releaseBrush(old);
}

void makeBackgroundBrush(int design)
{
    const int brush = platform::createPatternBrush(backgroundOf(design));
    platform::setWindowBackground(kMainWindow, brush);
    replaceBrush(designs().backgroundBrush, brush);
    designs().current = design;
}

// The bar in `design`: its background and the search field's.
void paintDesign(int design)
{
    makeBackgroundBrush(design);
    makeSearchFieldBrush(design);
    platform::invalidateWindow(kMainWindow);
}

// "<" only above design 1, ">" only below design 14.
void showChoice()
{
    const int shown = designs().shown;
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

int prepareDesigns(int stored, int dpi)
{
    // Only the design shown needs its pictures; the others are made when the
    // design window opens.
    const int design = designFromStored(stored);
    designs().current = design;
    loadDesignPictures(design, dpi);
    makeSearchFieldBrush(design);
    return design;
}

void applyBackground(int design)
{
    makeBackgroundBrush(design);
    platform::invalidateWindow(kMainWindow);
}

void installColourHook()
{
    // The label paints no background: its text stands straight on the design.
    platform::ControlColours label;
    label.request = platform::ColourRequest::StaticText;
    label.transparentText = true;
    label.brush = kNoBrush;
    platform::setControlColours(kSiteLabel, label);
    designs().hookInstalled = true;
    setSearchFieldColours();
}

void openDesignWindow()
{
    using namespace platform;
    if (isWindowOpen(kDesignWindow)) {
        setForegroundWindow(kDesignWindow);
        return;
    }
    DesignState& state = designs();
    state.shown = kFirstDesign;
    const int dpi = windowDpi(kMainWindow);
    makeOtherPreviews(state.current, dpi);
    if (!createWindow(kDesignWindow, WindowKind::ToolDialog, kDesignWindowTitle, designWindowRect(dpi)))
        return;
    state.choosing = true;
    for (const DesignControl& c : kDesignControls) {
        createControl(kDesignWindow, c.control, c.kind, scaledRect(c.rect, dpi), c.text);
        if (c.control == kDesignBack)
            enableControl(kDesignBack, false);
        if (c.control == kDesignPreview)
            setControlImage(kDesignPreview, state.shown);
    }
    enableWindow(kMainWindow, false);
    showWindow(kDesignWindow);
}

void layOutDesignWindow()
{
    if (!platform::isWindowOpen(kDesignWindow))
        return;
    const int dpi = platform::windowDpi(kDesignWindow);
    for (const DesignControl& c : kDesignControls)
        platform::moveControl(c.control, scaledRect(c.rect, dpi));
    // The previews were cut anew for the scale.
    platform::setControlImage(kDesignPreview, designs().shown);
}

void showDesignAgain(int design, int dpi)
{
    loadDesignPictures(design, dpi);
    if (designs().choosing)
        makeOtherPreviews(design, dpi);
    paintDesign(design);
}

void stepDesignBack()
{
    DesignState& state = designs();
    if (!state.choosing || state.shown <= kFirstDesign)
        return;
    --state.shown;
    showChoice();
}

void stepDesignForward()
{
    DesignState& state = designs();
    if (!state.choosing || state.shown >= kLastDesign)
        return;
    ++state.shown;
    showChoice();
}

int activateDesign(int current)
{
    DesignState& state = designs();
    const int design = designFromStored(state.choosing ? state.shown : current);
    state.choosing = false;
    if (!platform::hasImage(backgroundOf(design)))
        loadDesignPictures(design, platform::windowDpi(kMainWindow));
    paintDesign(design);
    releaseDesignPictures(design);
    return design;
}

void cancelDesign()
{
    designs().choosing = false;
    releaseDesignPictures(designs().current);
}

}  // namespace tellurix
