#include "formats/pixels.h"

namespace tellurix {

void swapRedAndBlue(const std::uint8_t* from, std::uint8_t* to, std::size_t pixels, int channels)
{
    const auto step = static_cast<std::size_t>(channels);
    for (std::size_t at = 0; at < pixels * step; at += step) {
        to[at + 0] = from[at + 2];
        to[at + 1] = from[at + 1];
        to[at + 2] = from[at + 0];
        if (channels == 4)
            to[at + 3] = from[at + 3];
    }
}

}  // namespace tellurix
