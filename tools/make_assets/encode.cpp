// File formats for the embedded pictures: ICO with classic DIB entries (what
// every Windows version loads with its alpha) and PNG through libpng.
#include "render.h"

#include <png.h>

#include <csetjmp>

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

size_t maskStride(int width) { return ((static_cast<size_t>(width) + 31) / 32) * 4; }

size_t dibSize(const PixelsRgba& p)
{
    return kDibHeaderSize + static_cast<size_t>(p.width) * p.height * 4 + maskStride(p.width) * p.height;
}

void putDib(std::vector<uint8_t>& out, const PixelsRgba& p)
{
    const size_t colourBytes = static_cast<size_t>(p.width) * p.height * 4;
    const size_t maskBytes = maskStride(p.width) * p.height;
    put32(out, kDibHeaderSize);
    put32(out, static_cast<uint32_t>(p.width));
    put32(out, static_cast<uint32_t>(p.height * 2));  // colour and mask stacked
    put16(out, 1);                                      // planes
    put16(out, 32);                                     // bits per pixel
    put32(out, 0);                                      // BI_RGB
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
            if (p.at(x, y).a == 0) row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
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

// Kept free of objects with destructors: libpng reports errors by longjmp.
bool writePng(png_structp png, png_infop info, const PixelsRgb& image, png_bytepp rows, std::vector<uint8_t>* out)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, appendToVector, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_set_gAMA_fixed(png, info, 45455);
    png_set_pHYs(png, info, 3779, 3779, PNG_RESOLUTION_METER);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<uint8_t> encodeIco(const std::vector<PixelsRgba>& entries)
{
    if (entries.empty()) return {};
    for (const PixelsRgba& p : entries) {
        if (p.width <= 0 || p.height <= 0 || p.width > 256 || p.height > 256) return {};
        if (p.pixels.size() != static_cast<size_t>(p.width) * p.height) return {};
    }

    std::vector<uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // icon, not cursor
    put16(out, static_cast<uint32_t>(entries.size()));

    size_t offset = kIconDirSize + kIconEntrySize * entries.size();
    for (const PixelsRgba& p : entries) {
        out.push_back(static_cast<uint8_t>(p.width % 256));  // 0 means 256
        out.push_back(static_cast<uint8_t>(p.height % 256));
        out.push_back(0);  // no palette
        out.push_back(0);
        put16(out, 1);   // planes
        put16(out, 32);  // bits per pixel
        put32(out, static_cast<uint32_t>(dibSize(p)));
        put32(out, static_cast<uint32_t>(offset));
        offset += dibSize(p);
    }
    for (const PixelsRgba& p : entries) putDib(out, p);
    return out;
}

std::vector<uint8_t> encodePng(const PixelsRgb& image)
{
    if (image.width <= 0 || image.height <= 0) return {};
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height) return {};

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }

    // Rgb is three packed bytes, so each row of pixels is already a PNG row.
    static_assert(sizeof(Rgb) == 3);
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(reinterpret_cast<const png_byte*>(&image.pixels[static_cast<size_t>(y) * image.width]));
    }

    std::vector<uint8_t> out;
    const bool ok = writePng(png, info, image, rows.data(), &out);
    png_destroy_write_struct(&png, &info);
    if (!ok) return {};
    return out;
}

}  // namespace tellurix::assets
