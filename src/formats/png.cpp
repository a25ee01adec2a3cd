#include "formats/png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace tellurix {
namespace {

// Larger pictures than this are not ours: refusing them keeps a damaged header
// from asking for gigabytes.
constexpr png_uint_32 kMaxSide = 4096;

struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    std::size_t offset = 0;
};

void readFromMemory(png_structp png, png_bytep target, png_size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->bytes.size() - reader->offset)
        png_error(png, "PNG data ends early");
    std::memcpy(target, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
}

// libpng reports errors by longjmp; warnings (a damaged ancillary chunk, say)
// cost nothing and are dropped, errors end the decode below.
void ignoreWarning(png_structp, png_const_charp) {}

void stopOnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;

    ReadStructs()
    {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, ignoreWarning);
        if (png)
            info = png_create_info_struct(png);
    }
    ReadStructs(const ReadStructs&) = delete;
    ReadStructs& operator=(const ReadStructs&) = delete;
    ~ReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// Everything that changes while libpng reads lives in `out` and `rows`, owned by
// the caller, so that a longjmp back into this frame leaves nothing undefined
// and skips no destructor. `channels`: 3 for RGB, 4 for RGBA.
bool readPixels(png_structp png, png_infop info, int channels, Decoded& out, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);

    png_set_expand(png);
    png_set_strip_16(png);
    if (channels == 3)
        png_set_strip_alpha(png);
    else
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const auto rowBytes = static_cast<std::size_t>(png_get_image_width(png, info)) * channels;
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != channels ||
        png_get_rowbytes(png, info) != rowBytes)
        return false;

    out.width = static_cast<int>(png_get_image_width(png, info));
    out.height = static_cast<int>(png_get_image_height(png, info));
    out.bytes.resize(rowBytes * out.height);
    rows.resize(static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y)
        rows[static_cast<std::size_t>(y)] = out.bytes.data() + static_cast<std::size_t>(y) * rowBytes;
    png_read_image(png, rows.data());
    // Reads up to IEND, so that a file cut short after its pixels counts as damaged too.
    png_read_end(png, nullptr);
    return true;
}

std::optional<Decoded> decode(std::span<const std::uint8_t> file, int channels)
{
    constexpr std::size_t kSignature = 8;
    if (!isPng(file))
        return std::nullopt;
    ReadStructs read;
    if (!read.png || !read.info)
        return std::nullopt;
    MemoryReader reader{file, kSignature};
    png_set_read_fn(read.png, &reader, readFromMemory);
    Decoded pixels;
    std::vector<png_bytep> rows;
    if (!readPixels(read.png, read.info, channels, pixels, rows))
        return std::nullopt;
    return pixels;
}

}  // namespace

bool isPng(std::span<const std::uint8_t> file)
{
    return file.size() >= 8 && png_sig_cmp(file.data(), 0, 8) == 0;
}

std::optional<RgbPixels> decodePng(std::span<const std::uint8_t> file)
{
    auto decoded = decode(file, 3);
    if (!decoded)
        return std::nullopt;
    return RgbPixels{decoded->width, decoded->height, std::move(decoded->bytes)};
}

std::optional<RgbaPixels> decodePngWithAlpha(std::span<const std::uint8_t> file)
{
    auto decoded = decode(file, 4);
    if (!decoded)
        return std::nullopt;
    return RgbaPixels{decoded->width, decoded->height, std::move(decoded->bytes)};
}

}  // namespace tellurix
