// File formats for the embedded pictures: ICO with classic DIB entries (what
// every Windows version loads with its alpha) or PNG entries (Vista and
// later, far smaller), and PNG through libpng.
#include "render.h"

#include <png.h>

#include <csetjmp>
#include <utility>

namespace tellurix::assets {

namespace {

constexpr size_t kIconDirSize = 6;
constexpr size_t kIconEntrySize = 16;
constexpr size_t kDibHeaderSize = 40;

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

size_t maskStride(int width)
{
    return ((static_cast<size_t>(width) + 31) / 32) * 4;
}

void putDib(std::vector<uint8_t>& out, const PixelsRgba& p)
{
    const size_t colourBytes = static_cast<size_t>(p.width) * p.height * 4;
    const size_t maskBytes = maskStride(p.width) * p.height;
    put32(out, kDibHeaderSize);
    put32(out, static_cast<uint32_t>(p.width));
    put32(out, static_cast<uint32_t>(p.height * 2));  // colour and mask stacked
    put16(out, 1);                                    // planes
    put16(out, 32);                                   // bits per pixel
    put32(out, 0);                                    // BI_RGB
    put32(out, static_cast<uint32_t>(colourBytes + maskBytes));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const Rgba& c = p.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r, c.a});
        }
    }
    // The AND mask still matters to code paths that ignore alpha: set where
    // the pixel is fully transparent.
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride(p.width), 0);
        for (int x = 0; x < p.width; ++x) {
            if (p.at(x, y).a == 0)
                row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// How a PNG is written: what the pixels are, whether the colour and
// resolution chunks go with them, and the row filters libpng may choose from
// (0 leaves the choice to libpng).
struct PngForm {
    int colourType = PNG_COLOR_TYPE_RGB;
    bool colourChunks = true;
    int filters = 0;
};

// Kept free of objects with destructors: libpng reports errors by longjmp.
bool writePng(png_structp png, png_infop info, int width, int height, const PngForm& form, png_bytepp rows,
              std::vector<uint8_t>* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, appendToVector, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, form.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (form.colourChunks) {
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
        png_set_gAMA_fixed(png, info, 45455);
        png_set_pHYs(png, info, 3779, 3779, PNG_RESOLUTION_METER);
    }
    if (form.filters != 0)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, form.filters);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

// `pixels` holds the rows top-down and packed, 8 bits a channel.
std::vector<uint8_t> pngOf(const uint8_t* pixels, int width, int height, const PngForm& form)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }

    const size_t stride = static_cast<size_t>(width) * (form.colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 3);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(pixels + y * stride);

    std::vector<uint8_t> out;
    const bool ok = writePng(png, info, width, height, form, rows.data(), &out);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        return {};
    return out;
}

// An icon picture as a bare RGBA PNG, as small as level 9 gets it: each
// single filter and libpng's adaptive choice are tried, the first smallest
// kept, so the same pixels always give the same bytes.
std::vector<uint8_t> iconPng(const PixelsRgba& p)
{
    // Rgba is four packed bytes, so each row of pixels is already a PNG row.
    static_assert(sizeof(Rgba) == 4);
    const auto* pixels = reinterpret_cast<const uint8_t*>(p.pixels.data());
    std::vector<uint8_t> best;
    for (int filters :
         {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH, PNG_ALL_FILTERS}) {
        std::vector<uint8_t> png = pngOf(pixels, p.width, p.height, {PNG_COLOR_TYPE_RGB_ALPHA, false, filters});
        if (png.empty())
            return {};
        if (best.empty() || png.size() < best.size())
            best = std::move(png);
    }
    return best;
}

}  // namespace

std::vector<uint8_t> encodeIco(const std::vector<PixelsRgba>& entries, size_t firstPngEntry)
{
    if (entries.empty())
        return {};
    for (const PixelsRgba& p : entries) {
        if (p.width <= 0 || p.height <= 0 || p.width > 256 || p.height > 256)
            return {};
        if (p.pixels.size() != static_cast<size_t>(p.width) * p.height)
            return {};
    }

    std::vector<std::vector<uint8_t>> images;
    for (size_t i = 0; i < entries.size(); ++i) {
        std::vector<uint8_t> image;
        if (i < firstPngEntry) {
            putDib(image, entries[i]);
        } else {
            image = iconPng(entries[i]);
            if (image.empty())
                return {};
        }
        images.push_back(std::move(image));
    }

    std::vector<uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // icon, not cursor
    put16(out, static_cast<uint32_t>(entries.size()));

    // A PNG entry's directory fields read as for a 32-bit DIB; Windows tells
    // the two apart by the PNG signature at the entry's offset.
    size_t offset = kIconDirSize + kIconEntrySize * entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        out.push_back(static_cast<uint8_t>(entries[i].width % 256));  // 0 means 256
        out.push_back(static_cast<uint8_t>(entries[i].height % 256));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(out, 1);   // planes
        put16(out, 32);  // bits per pixel
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, static_cast<uint32_t>(offset));
        offset += images[i].size();
    }
    for (const std::vector<uint8_t>& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::vector<uint8_t> encodePng(const PixelsRgb& image)
{
    if (image.width <= 0 || image.height <= 0)
        return {};
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return {};
    // Rgb is three packed bytes, so each row of pixels is already a PNG row.
    static_assert(sizeof(Rgb) == 3);
    return pngOf(reinterpret_cast<const uint8_t*>(image.pixels.data()), image.width, image.height, PngForm{});
}

}  // namespace tellurix::assets
