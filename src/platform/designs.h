#pragma once

#include <optional>

#include "platform/colour.h"

// Pattern brushes, window backgrounds and the colours in which controls draw
// themselves over them. Brushes are numbered by the toolkit; whoever creates a
// brush owns it until it releases it.
namespace tellurix::platform {

inline constexpr int kNoBrush = 0;

// A brush that repeats a bitmap image from the top-left corner of whatever it
// paints. kNoBrush when the number names no bitmap or the brush cannot be made.
[[nodiscard]] int createPatternBrush(int image);
// Frees a brush; kNoBrush and numbers already released are ignored.
void releaseBrush(int brush);

// Paints the client area of a window with a brush (its class background);
// kNoBrush puts back the toolkit's default, the button face colour. The brush
// stays the caller's and must outlive its use here.
void setWindowBackground(int window, int brush);

// The two colour requests a control sends to its window before it paints:
// static texts ask as static text, one-line edits as edit field.
enum class ColourRequest { StaticText, EditField };

// How a window answers one control's colour request.
struct ControlColours {
    ColourRequest request = ColourRequest::StaticText;  // other requests get the default answer
    bool transparentText = false;                       // text drawn without a background of its own
    std::optional<Rgb> textColour;                      // unset: the default text colour
    int brush = kNoBrush;                               // kNoBrush: paint no background at all

    friend bool operator==(const ControlColours&, const ControlColours&) = default;
};

// From now on the control's colour request is answered so. The brush stays the
// caller's; set the colours again before releasing it.
void setControlColours(int control, const ControlColours& colours);

}  // namespace tellurix::platform
