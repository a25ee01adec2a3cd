// The embedded pictures: decoding (PNG from memory, icon directories), the
// image numbers, the design previews and the sizes image buttons take.
#include <gtest/gtest.h>

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "app/main_window.h"
#include "fake_platform/fake_designs.h"
#include "fake_platform/fake_toolkit.h"
#include "formats/icon_directory.h"
#include "platform/images.h"
#include "ui/designs.h"
#include "ui/embedded_assets.h"
#include "ui/images.h"
#include "formats/png.h"

namespace tellurix {
namespace {

namespace fake = platform::fake;
using Bytes = std::vector<std::uint8_t>;

Bytes embeddedBytes(int image)
{
    for (std::size_t i = 0; i < kEmbeddedImageCount; ++i)
        if (kEmbeddedImages[i].image == image)
            return Bytes(kEmbeddedImages[i].data, kEmbeddedImages[i].data + kEmbeddedImages[i].size);
    return {};
}

struct Pixel {
    std::uint8_t r, g, b;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", p.r, p.g, p.b);
    return out << text;
}

Pixel pixelAt(const RgbPixels& pixels, int x, int y)
{
    const std::size_t at = (static_cast<std::size_t>(y) * pixels.width + x) * 3;
    return {pixels.rgb[at], pixels.rgb[at + 1], pixels.rgb[at + 2]};
}

// A picture whose every pixel differs from its neighbours, so that a cut at the
// wrong place cannot match by accident.
RgbPixels patterned(int width, int height)
{
    RgbPixels pixels{width, height, Bytes(static_cast<std::size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            pixels.rgb[at] = static_cast<std::uint8_t>(x);
            pixels.rgb[at + 1] = static_cast<std::uint8_t>(x >> 8);
            pixels.rgb[at + 2] = static_cast<std::uint8_t>(y);
        }
    return pixels;
}

// --- A small PNG writer, to feed the decoder pictures of other kinds. -------

struct PngLayout {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
};

PngLayout pngLayout(int width, int height, int colourType, int bitDepth)
{
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colourType = colourType;
    layout.bitDepth = bitDepth;
    return layout;
}

[[maybe_unused]] void appendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

[[maybe_unused]] void noFlush(png_structp) {}

// The Windows build links the program's libpng, which only reads: the tests
// that make their own PNG files run natively.
#ifdef PNG_WRITE_SUPPORTED
#define SKIP_WITHOUT_PNG_WRITING()
#else
#define SKIP_WITHOUT_PNG_WRITING() GTEST_SKIP() << "this build's libpng only reads"
#endif

// Rows are given as raw sample bytes in the file's own layout.
Bytes writePng([[maybe_unused]] const PngLayout& layout, [[maybe_unused]] std::vector<Bytes> rows)
{
    Bytes out;
#ifdef PNG_WRITE_SUPPORTED
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendToBytes, noFlush);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    std::vector<png_bytep> pointers;
    for (Bytes& row : rows)
        pointers.push_back(row.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
#endif
    return out;
}

// Offset of a chunk's type field in a PNG file, or 0.
std::size_t chunkOffset(const Bytes& file, const char* type)
{
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const std::size_t length =
            static_cast<std::size_t>(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (std::memcmp(&file[at + 4], type, 4) == 0)
            return at + 4;
        at += 12 + length;
    }
    return 0;
}

// --- Decoding ---------------------------------------------------------------

TEST(PngDecode, EmbeddedBackgroundsDecodeToTheirGradients)
{
    // Top rows of the fourteen designs, in R G B order.
    const std::array<Pixel, 14> tops{{{0xFF, 0x00, 0x00},
                                      {0xFF, 0x6A, 0x00},
                                      {0xFF, 0xD8, 0x00},
                                      {0xB6, 0xFF, 0x00},
                                      {0x4C, 0xFF, 0x00},
                                      {0x00, 0xFF, 0x90},
                                      {0x00, 0xFF, 0xFF},
                                      {0x00, 0x94, 0xFF},
                                      {0x00, 0x26, 0xFF},
                                      {0x46, 0x00, 0xF8},
                                      {0xAE, 0x00, 0xF9},
                                      {0xFF, 0x00, 0xDC},
                                      {0xFF, 0x00, 0x6E},
                                      {0x80, 0x80, 0x80}}};
    for (int i = 0; i < 14; ++i) {
        const auto pixels = decodePng(embeddedBytes(kFirstBackground + i));
        ASSERT_TRUE(pixels) << kFirstBackground + i;
        ASSERT_EQ(pixels->width, 390);
        ASSERT_EQ(pixels->height, 40);
        EXPECT_EQ(pixelAt(*pixels, 0, 0), tops[static_cast<std::size_t>(i)]) << kFirstBackground + i;
        // Every row is one colour, and the bottom row is darker than the top.
        for (int y = 0; y < 40; ++y)
            EXPECT_EQ(pixelAt(*pixels, 389, y), pixelAt(*pixels, 0, y)) << kFirstBackground + i << " row " << y;
        const Pixel top = pixelAt(*pixels, 0, 0);
        const Pixel bottom = pixelAt(*pixels, 0, 39);
        EXPECT_LT(bottom.r + bottom.g + bottom.b, top.r + top.g + top.b) << kFirstBackground + i;
    }
}

TEST(PngDecode, OtherPixelFormatsBecomeEightBitRgb)
{
    SKIP_WITHOUT_PNG_WRITING();
    const int w = 3;
    const int h = 2;
    // Grey, 8 bit: each sample becomes three equal channels.
    {
        const auto grey = decodePng(writePng(pngLayout(w, h, PNG_COLOR_TYPE_GRAY, 8), {{0, 128, 255}, {7, 8, 9}}));
        ASSERT_TRUE(grey);
        EXPECT_EQ(pixelAt(*grey, 1, 0), (Pixel{128, 128, 128}));
        EXPECT_EQ(pixelAt(*grey, 2, 1), (Pixel{9, 9, 9}));
    }
    // RGBA: alpha is dropped, colour kept.
    {
        const auto rgba = decodePng(
            writePng(pngLayout(w, h, PNG_COLOR_TYPE_RGBA, 8),
                     {{1, 2, 3, 0, 4, 5, 6, 100, 7, 8, 9, 255}, {10, 11, 12, 1, 13, 14, 15, 2, 16, 17, 18, 3}}));
        ASSERT_TRUE(rgba);
        EXPECT_EQ(rgba->rgb.size(), static_cast<std::size_t>(w * h * 3));
        EXPECT_EQ(pixelAt(*rgba, 0, 0), (Pixel{1, 2, 3}));
        EXPECT_EQ(pixelAt(*rgba, 2, 1), (Pixel{16, 17, 18}));
    }
    // 16 bit: the high byte of each sample stays.
    {
        const auto deep =
            decodePng(writePng(pngLayout(1, 1, PNG_COLOR_TYPE_RGB, 16), {{0xAB, 0x01, 0xCD, 0x02, 0xEF, 0x03}}));
        ASSERT_TRUE(deep);
        EXPECT_EQ(pixelAt(*deep, 0, 0), (Pixel{0xAB, 0xCD, 0xEF}));
    }
    // Palette, 2 bit: indices become the palette's colours.
    {
        PngLayout layout = pngLayout(4, 1, PNG_COLOR_TYPE_PALETTE, 2);
        layout.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
        const auto indexed = decodePng(writePng(layout, {{0b00'01'10'11}}));
        ASSERT_TRUE(indexed);
        EXPECT_EQ(pixelAt(*indexed, 0, 0), (Pixel{10, 20, 30}));
        EXPECT_EQ(pixelAt(*indexed, 3, 0), (Pixel{100, 110, 120}));
    }
}

TEST(PngDecode, InterlacedPicturesGiveTheSamePixels)
{
    SKIP_WITHOUT_PNG_WRITING();
    const RgbPixels source = patterned(13, 9);
    std::vector<Bytes> rows;
    for (int y = 0; y < source.height; ++y)
        rows.emplace_back(source.rgb.begin() + y * source.width * 3, source.rgb.begin() + (y + 1) * source.width * 3);
    PngLayout plain = pngLayout(13, 9, PNG_COLOR_TYPE_RGB, 8);
    PngLayout adam7 = plain;
    adam7.interlaced = true;
    EXPECT_EQ(decodePng(writePng(plain, rows)), source);
    EXPECT_EQ(decodePng(writePng(adam7, rows)), source);
}

TEST(PngDecode, DamagedFilesGiveNothing)
{
    SKIP_WITHOUT_PNG_WRITING();
    const Bytes good = embeddedBytes(103);
    ASSERT_TRUE(decodePng(good));
    const std::size_t idat = chunkOffset(good, "IDAT");
    ASSERT_NE(idat, 0u);

    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"signature only", Bytes(good.begin(), good.begin() + 8)});
    cases.push_back({"cut inside the header", Bytes(good.begin(), good.begin() + 20)});
    cases.push_back({"cut inside the pixel data", Bytes(good.begin(), good.begin() + static_cast<long>(idat) + 12)});
    cases.push_back({"cut before IEND", Bytes(good.begin(), good.end() - 12)});
    cases.push_back({"last byte missing", Bytes(good.begin(), good.end() - 1)});
    Bytes signature = good;
    signature[1] = 'Q';
    cases.push_back({"wrong signature", signature});
    Bytes pixelData = good;
    pixelData[idat + 8] ^= 0x55;  // the CRC no longer matches
    cases.push_back({"pixel data changed", pixelData});
    Bytes header = good;
    header[chunkOffset(good, "IHDR") + 4 + 8] = 7;  // bit depth 7 does not exist
    cases.push_back({"impossible bit depth", header});
    Bytes huge = writePng(pngLayout(5000, 1, PNG_COLOR_TYPE_GRAY, 8), {Bytes(5000, 0)});
    ASSERT_FALSE(huge.empty());
    cases.push_back({"larger than any picture of ours", huge});

    for (const Case& c : cases)
        EXPECT_FALSE(decodePng(c.bytes)) << c.what;
}

TEST(PngDecode, DamagedAncillaryChunkIsIgnored)
{
    Bytes file = embeddedBytes(103);
    const std::size_t gama = chunkOffset(file, "gAMA");
    ASSERT_NE(gama, 0u) << "the backgrounds carry a gAMA chunk";
    file[gama + 4] ^= 0xFF;  // its CRC fails; the picture itself is whole
    const auto pixels = decodePng(file);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixelAt(*pixels, 0, 0), (Pixel{0xB6, 0xFF, 0x00}));
}

TEST(IconDirectory, ReadsTheEntriesAndRejectsDamage)
{
    // The drawings at 100, 150 and 200 %, one after the other.
    const Bytes icon = embeddedBytes(5);
    const auto entries = readIconEntries(icon);
    ASSERT_EQ(entries.size(), 3u);
    const auto* entry = &entries.front();
    EXPECT_EQ(entry->width, 20);
    EXPECT_EQ(entry->height, 20);
    EXPECT_EQ(entry->offset, 6u + 3 * 16);
    EXPECT_EQ(entries[1].width, 30);
    EXPECT_EQ(entries[2].width, 40);
    EXPECT_EQ(entries[1].offset, entries[0].offset + entries[0].size);
    EXPECT_EQ(entries[2].offset + entries[2].size, icon.size());

    auto damaged = [&](std::size_t at, std::uint8_t value) {
        Bytes copy = icon;
        copy[at] = value;
        return !readIconEntries(copy).empty();
    };
    EXPECT_FALSE(damaged(2, 2)) << "a cursor is no icon";
    EXPECT_FALSE(damaged(4, 0)) << "no entries";
    EXPECT_FALSE(damaged(0, 1)) << "reserved field set";
    EXPECT_FALSE(damaged(14 + 3, 0x7F)) << "data larger than the file";
    EXPECT_FALSE(damaged(18 + 2, 0x01)) << "data beyond the end of the file";
    EXPECT_TRUE(readIconEntries(Bytes(icon.begin(), icon.end() - 1)).empty()) << "file cut short";
    EXPECT_TRUE(readIconEntries(Bytes(icon.begin(), icon.begin() + 21)).empty());
}

// --- Image numbers ----------------------------------------------------------

class ImagesTest : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
};

TEST_F(ImagesTest, EveryPictureHasItsNumberAndNoOtherNumberHasOne)
{
    loadIcons();
    loadTrayImage();
    for (int design = kFirstDesign; design <= kLastDesign; ++design)
        loadDesignPictures(design);
    // Image 8 is the program's own icon in the size the shell shows small icons (16 at 96 DPI).
    const std::array<int, 9> iconSides{0, 22, 22, 22, 22, 20, 20, 22, 16};
    for (int image = kFirstIcon; image <= kLastIcon; ++image) {
        EXPECT_TRUE(fake::isIconImage(image)) << image;
        EXPECT_EQ(platform::imageWidth(image), iconSides[static_cast<std::size_t>(image)]) << image;
        EXPECT_EQ(platform::imageHeight(image), iconSides[static_cast<std::size_t>(image)]) << image;
    }
    for (int image = kFirstBackground; image <= kLastBackground; ++image) {
        ASSERT_NE(fake::bitmapPixels(image), nullptr) << image;
        EXPECT_EQ(platform::imageWidth(image), 390) << image;
        EXPECT_EQ(platform::imageHeight(image), 40) << image;
    }
    for (int image = kFirstPreview; image <= kLastPreview; ++image) {
        ASSERT_NE(fake::bitmapPixels(image), nullptr) << image;
        EXPECT_EQ(platform::imageWidth(image), 200) << image;
        EXPECT_EQ(platform::imageHeight(image), 20) << image;
    }
    for (int image : {0, 9, 99, 114, 199, 214, -1, 1000}) {
        EXPECT_FALSE(platform::hasImage(image)) << image;
        EXPECT_EQ(platform::imageWidth(image), 0) << image;
        EXPECT_EQ(platform::imageHeight(image), 0) << image;
        EXPECT_EQ(fake::bitmapPixels(image), nullptr) << image;
    }
}

TEST_F(ImagesTest, PreviewsCopyTheBackgroundsPixelsExactly)
{
    for (int design = kFirstDesign; design <= kLastDesign; ++design)
        loadDesignPictures(design);
    for (int i = 0; i <= kLastPreview - kFirstPreview; ++i) {
        const RgbPixels* background = fake::bitmapPixels(kFirstBackground + i);
        const RgbPixels* preview = fake::bitmapPixels(kFirstPreview + i);
        ASSERT_TRUE(background && preview) << i;
        EXPECT_EQ(pixelAt(*preview, 0, 0), pixelAt(*background, 120, 10)) << i;
        EXPECT_EQ(pixelAt(*preview, 199, 19), pixelAt(*background, 319, 29)) << i;
        EXPECT_NE(pixelAt(*preview, 0, 0), pixelAt(*background, 120, 9)) << "gradient rows differ, " << i;
    }
}

TEST_F(ImagesTest, PreviewIsTheRectangleAtX120Y10)
{
    // A background whose pixels all differ shows where the cut was taken.
    const RgbPixels source = patterned(390, 40);
    ASSERT_TRUE(platform::createBitmapImage(kFirstBackground, source));
    for (int design = kFirstDesign; design <= kLastDesign; ++design)
        cutPreview(design);
    const RgbPixels* preview = fake::bitmapPixels(kFirstPreview);
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->width, 200);
    ASSERT_EQ(preview->height, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(pixelAt(*preview, x, y), pixelAt(source, 120 + x, 10 + y)) << x << "," << y;
    // Only backgrounds that exist give previews.
    for (int image = kFirstPreview + 1; image <= kLastPreview; ++image)
        EXPECT_FALSE(platform::hasImage(image)) << image;
}

TEST_F(ImagesTest, DamagedOrMisnumberedFilesLeaveTheImageAbsent)
{
    const Bytes png = embeddedBytes(104);
    const Bytes ico = embeddedBytes(3);
    Bytes damaged = png;
    damaged[chunkOffset(png, "IDAT") + 20] ^= 0x01;

    EXPECT_FALSE(loadImage(104, damaged));
    EXPECT_FALSE(platform::hasImage(104));
    EXPECT_FALSE(loadImage(3, Bytes(ico.begin(), ico.begin() + 30)));
    EXPECT_FALSE(platform::hasImage(3));
    // The right bytes under a number of the wrong kind, or under no image number.
    EXPECT_FALSE(loadImage(4, png));
    EXPECT_FALSE(loadImage(105, ico));
    for (int image : {0, 9, 99, 114, 200, 213})
        EXPECT_FALSE(loadImage(image, image == 9 ? ico : png)) << image;
    for (int image : {4, 105, 0, 9, 99, 114, 200, 213})
        EXPECT_FALSE(platform::hasImage(image)) << image;

    EXPECT_TRUE(loadImage(104, png));
    EXPECT_TRUE(loadImage(3, ico));
    EXPECT_TRUE(platform::hasImage(104));
    EXPECT_TRUE(fake::isIconImage(3));
}

TEST_F(ImagesTest, ImageButtonsTakeTheSizeOfTheirImage)
{
    ASSERT_TRUE(createMainWindow());
    loadIcons();
    Designs designs;
    ASSERT_TRUE(buildMainWindowControls(designs));
    struct Expected {
        int control;
        int image;
        int side;
    };
    const Expected expected[] = {
        {kTopmostOnButton, 6, 20}, {kTopmostOffButton, 5, 20},   {kDesignButton, 2, 22},      {kInfoButton, 3, 22},
        {kQuitButton, 7, 22},      {kAutostartOffButton, 1, 22}, {kAutostartOnButton, 4, 22},
    };
    for (const Expected& e : expected) {
        const auto* control = fake::control(e.control);
        ASSERT_NE(control, nullptr) << e.control;
        EXPECT_EQ(control->image, e.image) << e.control;
        EXPECT_EQ(control->rect.width, e.side) << e.control;
        EXPECT_EQ(control->rect.height, e.side) << e.control;
    }
    // A number that names no image leaves the button without a picture, at its size.
    platform::setControlImage(kInfoButton, 9);
    EXPECT_EQ(fake::control(kInfoButton)->image, 0);
    EXPECT_EQ(fake::control(kInfoButton)->rect.width, 22);
}

}  // namespace
}  // namespace tellurix
