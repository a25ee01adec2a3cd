#pragma once

// Every size and position of the program is given at 96 DPI (100 % display
// scale); at another DPI it is that many times dpi / 96, rounded.
namespace tellurix {

inline constexpr int kBaseDpi = 96;

// `value` (at 96 DPI) at `dpi`, rounded half away from zero.
constexpr int scaled(int value, int dpi)
{
    const long long product = static_cast<long long>(value) * dpi;
    return static_cast<int>((product >= 0 ? product + kBaseDpi / 2 : product - kBaseDpi / 2) / kBaseDpi);
}

// A rectangle (anything with x, y, width and height) at `dpi`.
template <typename Rectangle>
constexpr Rectangle scaledRect(Rectangle rect, int dpi)
{
    return {scaled(rect.x, dpi), scaled(rect.y, dpi), scaled(rect.width, dpi), scaled(rect.height, dpi)};
}

}  // namespace tellurix
