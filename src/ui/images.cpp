#include "ui/images.h"

#include "core/scale.h"
#include "platform/images.h"
#include "platform/trace.h"
#include "formats/icon_directory.h"
#include "ui/embedded_assets.h"
#include "formats/png.h"
#include "ui/scaled_pictures.h"

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

// The icon's drawing for the scale: the entry of exactly that size, else the
// next larger one shrunk, else (above the largest) the largest as it is.
bool loadIcon(int image, std::span<const std::uint8_t> file, int dpi)
{
    const std::vector<IconEntry> entries = readIconEntries(file);
    if (entries.empty())
        return false;
    // The first entry is the 100 % drawing.
    const int wanted = scaled(entries.front().width, dpi);
    const IconEntry* larger = nullptr;
    const IconEntry* largest = &entries.front();
    for (const IconEntry& entry : entries) {
        if (entry.width == wanted) {
            // A DIB entry goes to the system as it is; a PNG one is decoded here.
            if (!isPng(file.subspan(entry.offset, entry.size)))
                return platform::createIconImage(image, file, wanted);
            const auto pixels = decodeIconEntry(file, entry);
            return pixels && platform::createIconFromPixels(image, *pixels);
        }
        if (entry.width > wanted && (!larger || entry.width < larger->width))
            larger = &entry;
        if (entry.width > largest->width)
            largest = &entry;
    }
    if (!larger)
        return platform::createIconImage(image, file, largest->width);
    const auto pixels = decodeIconEntry(file, *larger);
    const int height = scaled(entries.front().height, dpi);
    return pixels && platform::createIconFromPixels(image, shrink(*pixels, wanted, height));
}

}  // namespace

bool loadImage(int image, std::span<const std::uint8_t> file, int dpi)
{
    if (isIconNumber(image))
        return loadIcon(image, file, dpi);
    if (isBackgroundNumber(image)) {
        const auto pixels = decodePng(file);
        if (!pixels)
            return false;
        if (dpi == kBaseDpi)
            return platform::createBitmapImage(image, *pixels);
        return platform::createBitmapImage(
            image, gradientAt(*pixels, scaled(pixels->width, dpi), scaled(pixels->height, dpi)));
    }
    return false;
}

namespace {

bool loadEmbedded(int image, int dpi)
{
    const EmbeddedImage* blob = embeddedImage(image);
    return blob && loadImage(image, {blob->data, blob->size}, dpi);
}

}  // namespace

void cutPreview(int design, int dpi)
{
    // Without GDI memory to spare the preview stays empty in the design
    // window; the design itself still works.
    if (!platform::copyBitmapImage(backgroundOf(design), design, scaled(kPreviewX, dpi), scaled(kPreviewY, dpi),
                                   scaled(kPreviewWidth, dpi), scaled(kPreviewHeight, dpi)))
        platform::markStep("preview not made");
}

void loadIcons(int dpi)
{
    for (int image = kFirstIcon; image <= kLastIcon; ++image)
        if (image != kTrayImage)
            loadEmbedded(image, dpi);
}

void loadTrayImage()
{
    // The tray shows the program's own icon in the size the shell picks, or
    // else the embedded one.
    if (!platform::createShellIconImage(kTrayImage, kProgramIconResource) && !loadEmbedded(kTrayImage, kBaseDpi))
        platform::markStep("no tray picture");
}

void loadDesignPictures(int design, int dpi)
{
    if (loadEmbedded(backgroundOf(design), dpi))
        cutPreview(design, dpi);
}

void releaseDesignPictures(int keep)
{
    for (int design = kFirstPreview; design <= kLastPreview; ++design) {
        if (design == keep)
            continue;
        platform::releaseImage(design);
        platform::releaseImage(backgroundOf(design));
    }
}

}  // namespace tellurix
