#include "ui/tray_menu_layout.h"

#include <cstdint>

namespace tellurix {
namespace {

using platform::Rgb;

constexpr int kWhite = 255;
// Strip k is 5k per cent of the way from white to the highlight colour, so the
// last strip (95 %) stays just short of it.
constexpr int kPercentPerStrip = 5;

std::uint8_t fadeChannel(int strip, std::uint8_t highlight)
{
    return static_cast<std::uint8_t>(kWhite - kPercentPerStrip * strip * (kWhite - highlight) / 100);
}

std::uint8_t halfwayToWhite(std::uint8_t channel)
{
    return static_cast<std::uint8_t>((channel + kWhite) / 2);
}

}  // namespace

platform::MenuItemLayout trayMenuItemLayout(platform::Size text, int dpi)
{
    platform::MenuItemLayout layout;
    layout.size = {text.width + scaled(kMenuExtraWidth, dpi), text.height + scaled(kMenuExtraHeight, dpi)};
    layout.textOffset = {scaled(kMenuTextIndent, dpi), scaled(kMenuExtraHeight, dpi) / 2};
    return layout;
}

Rgb menuColumnStrip(int strip, Rgb highlight)
{
    return {fadeChannel(strip, highlight.red), fadeChannel(strip, highlight.green), fadeChannel(strip, highlight.blue)};
}

Rgb menuHotFill(Rgb highlight)
{
    return {halfwayToWhite(highlight.red), halfwayToWhite(highlight.green), halfwayToWhite(highlight.blue)};
}

platform::MenuLook trayMenuLook(const platform::MenuPalette& palette, int dpi)
{
    platform::MenuLook look;
    look.columnWidth = scaled(platform::kMenuColumnWidth, dpi);
    look.background = palette.menu;
    look.text = palette.menuText;
    for (int strip = 0; strip < platform::kMenuColumnWidth; ++strip)
        look.column[static_cast<std::size_t>(strip)] = menuColumnStrip(strip, palette.highlight);
    look.hotFill = menuHotFill(palette.highlight);
    look.hotFrame = {0, 0, 0};
    look.hotText = palette.highlightText;
    return look;
}

}  // namespace tellurix
