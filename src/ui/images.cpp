#include "ui/images.h"

#include "platform/images.h"
#include "ui/embedded_assets.h"
#include "ui/png_decode.h"

namespace tellurix {
namespace {

bool isIconNumber(int image)
{
    return image >= kFirstIcon && image <= kLastIcon;
}

bool isBackgroundNumber(int image)
{
    return image >= kFirstBackground && image <= kLastBackground;
}

const EmbeddedImage* embeddedImage(int image)
{
    for (std::size_t i = 0; i < kEmbeddedImageCount; ++i)
        if (kEmbeddedImages[i].image == image && kEmbeddedImages[i].data)
            return &kEmbeddedImages[i];
    return nullptr;
}

}  // namespace

bool loadImage(int image, std::span<const std::uint8_t> file)
{
    if (isIconNumber(image))
        return platform::createIconImage(image, file);
    if (isBackgroundNumber(image)) {
        const auto pixels = decodePng(file);
        return pixels && platform::createBitmapImage(image, *pixels);
    }
    return false;
}

void loadEmbeddedImages()
{
    // By number rather than in the table's order: icons first, then backgrounds.
    auto load = [](int image) {
        if (const EmbeddedImage* blob = embeddedImage(image))
            loadImage(image, {blob->data, blob->size});
    };
    for (int image = kFirstIcon; image <= kLastIcon; ++image)
        load(image);
    for (int image = kFirstBackground; image <= kLastBackground; ++image)
        load(image);
}

void derivePreviews()
{
    for (int i = 0; i <= kLastPreview - kFirstPreview; ++i)
        platform::copyBitmapImage(kFirstBackground + i, kFirstPreview + i, kPreviewX, kPreviewY, kPreviewWidth,
                                  kPreviewHeight);
}

}  // namespace tellurix
