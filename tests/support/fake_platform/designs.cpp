#include <map>

#include "platform/colour_rules.h"
#include "platform/designs.h"
#include "fake_platform/fake_designs.h"
#include "platform/images.h"
#include "platform/windows.h"

namespace tellurix::platform {
namespace {

struct Designs {
    std::map<int, int> brushes;  // live brush -> the image it repeats
    int nextBrush = 1;
    std::map<int, int> backgrounds;  // window -> brush
    std::map<int, ControlColours> colours;
};

Designs& designs()
{
    static Designs state;
    return state;
}

}  // namespace

int createPatternBrush(int image)
{
    // Like the real toolkit: only a bitmap makes a pattern brush.
    if (!fake::bitmapPixels(image))
        return kNoBrush;
    const int brush = designs().nextBrush++;
    designs().brushes[brush] = image;
    return brush;
}

void releaseBrush(int brush)
{
    designs().brushes.erase(brush);
}

void setWindowBackground(int window, int brush)
{
    if (!isWindowOpen(window))
        return;
    if (brush == kNoBrush)
        designs().backgrounds.erase(window);
    else
        designs().backgrounds[window] = brush;
}

void setControlColours(int control, const ControlColours& colours)
{
    designs().colours[control] = colours;
}

namespace fake {

void resetDesigns()
{
    // Numbers stay unique over the whole run: a brush number the program still
    // holds from before the reset must never name a brush made after it.
    const int next = designs().nextBrush;
    designs() = Designs{};
    designs().nextBrush = next;
}

int brushImage(int brush)
{
    auto it = designs().brushes.find(brush);
    return it == designs().brushes.end() ? 0 : it->second;
}

int liveBrushCount()
{
    return static_cast<int>(designs().brushes.size());
}

int windowBackground(int window)
{
    auto it = designs().backgrounds.find(window);
    return it == designs().backgrounds.end() ? kNoBrush : it->second;
}

std::optional<ControlColours> colourAnswer(ColourRequest request, int control)
{
    if (const ControlColours* rule = colourRuleFor(designs().colours, request, control))
        return *rule;
    return std::nullopt;
}

}  // namespace fake
}  // namespace tellurix::platform
