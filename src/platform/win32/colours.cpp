#include <map>

#include "platform/designs.h"
#include "platform/colour_rules.h"
#include "platform/win32/gdi.h"
#include "platform/win32/images.h"
#include "platform/win32/toolkit_state.h"
#include "platform/win32/window_extensions.h"

namespace tellurix::platform {
namespace {

std::map<int, ControlColours>& colourRules()
{
    static std::map<int, ControlColours> rules;
    return rules;
}

}  // namespace

void setControlColours(int control, const ControlColours& colours)
{
    colourRules()[control] = colours;
}

namespace win32 {
namespace {

LRESULT brushAnswer(HBRUSH brush)
{
    return reinterpret_cast<LRESULT>(brush);
}

// An image button is a picture on its window: what lies around and under the
// picture's transparent pixels is the window's own background, so it is painted
// with the window's class brush, aligned with the window's client area.
LRESULT windowBackgroundAnswer(HWND window, HWND control, HDC dc)
{
    const ULONG_PTR background = ::GetClassLongPtrW(window, GCLP_HBRBACKGROUND);
    // Small values name a system colour (colour index + 1), not a brush.
    if (background <= COLOR_MENUBAR + 1) {
        const int index = background == 0 ? COLOR_BTNFACE : static_cast<int>(background) - 1;
        return brushAnswer(::GetSysColorBrush(index));
    }
    POINT corner{0, 0};
    ::MapWindowPoints(control, window, &corner, 1);
    ::SetBrushOrgEx(dc, -corner.x, -corner.y, nullptr);
    return brushAnswer(reinterpret_cast<HBRUSH>(background));
}

}  // namespace

bool handleColourMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer)
{
    if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT)
        return false;
    HWND sender = reinterpret_cast<HWND>(lparam);
    const int control = controlNumber(sender);
    if (control == kNoControl || ::GetParent(sender) != window)
        return false;
    HDC dc = reinterpret_cast<HDC>(wparam);
    const ColourRequest request = message == WM_CTLCOLOREDIT ? ColourRequest::EditField : ColourRequest::StaticText;
    if (const ControlColours* rule = colourRuleFor(colourRules(), request, control)) {
        if (rule->transparentText)
            ::SetBkMode(dc, TRANSPARENT);
        if (rule->textColour)
            ::SetTextColor(dc, colourRef(*rule->textColour));
        HBRUSH brush = rule->brush == kNoBrush ? nullptr : brushHandle(rule->brush);
        answer = brushAnswer(brush ? brush : static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
        return true;
    }
    if (request == ColourRequest::StaticText && state().controls[control].kind == ControlKind::ImageButton) {
        answer = windowBackgroundAnswer(window, sender, dc);
        return true;
    }
    return false;
}

}  // namespace win32
}  // namespace tellurix::platform
