#pragma once

#include "core/scale.h"
#include "platform/tray.h"

// The look of the tray menu in numbers: item sizes, the shaded column, the
// colours of the item under the mouse and where texts start.
namespace tellurix {

// Room around an item's text: the column plus a gap on the left, and a few
// pixels above and below.
inline constexpr int kMenuTextIndent = platform::kMenuColumnWidth + 8;
inline constexpr int kMenuExtraWidth = kMenuTextIndent;
inline constexpr int kMenuExtraHeight = 6;

// Size and text position of an item whose text measures `text` (the room
// around it scaled to `dpi`).
platform::MenuItemLayout trayMenuItemLayout(platform::Size text, int dpi = kBaseDpi);

// Colour of the one-pixel strip `strip` (0 at the left edge) of the column:
// white fading towards the highlight colour.
platform::Rgb menuColumnStrip(int strip, platform::Rgb highlight);
// Halfway between the highlight colour and white.
platform::Rgb menuHotFill(platform::Rgb highlight);

platform::MenuLook trayMenuLook(const platform::MenuPalette& palette, int dpi = kBaseDpi);

}  // namespace tellurix
