#pragma once

#include <cstddef>

namespace tellurix {

// A picture carried inside the program: an .ico file (images 1 to 8) or a PNG
// file (backgrounds 100 to 113), under its image number.
struct EmbeddedImage {
    int image;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedImage kEmbeddedImages[];
extern const std::size_t kEmbeddedImageCount;

}  // namespace tellurix
