// The committed pictures under assets/ are exactly what tools/make_assets
// draws, and each file has the form the program's decoders rely on.
#include "render.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tellurix::assets;
using Bytes = std::vector<uint8_t>;

struct IconCase {
    int image;
    std::array<int, 3> sizes;  // at 100, 150 and 200 % display scale
};

// The sizes each button or the tray shows.
constexpr std::array<IconCase, 8> kIcons{{{1, {22, 33, 44}},
                                          {2, {22, 33, 44}},
                                          {3, {22, 33, 44}},
                                          {4, {22, 33, 44}},
                                          {5, {20, 30, 40}},
                                          {6, {20, 30, 40}},
                                          {7, {22, 33, 44}},
                                          {8, {24, 36, 48}}}};

struct DesignCase {
    int design;
    std::array<uint8_t, 3> top;
    std::array<uint8_t, 3> bottom;
};

constexpr std::array<DesignCase, 14> kDesigns{{
    {1, {0xFF, 0x00, 0x00}, {0x88, 0x00, 0x00}},
    {2, {0xFF, 0x6A, 0x00}, {0x7F, 0x33, 0x00}},
    {3, {0xFF, 0xD8, 0x00}, {0x86, 0x70, 0x00}},
    {4, {0xB6, 0xFF, 0x00}, {0x5B, 0x7F, 0x00}},
    {5, {0x4C, 0xFF, 0x00}, {0x26, 0x7F, 0x00}},
    {6, {0x00, 0xFF, 0x90}, {0x00, 0x83, 0x48}},
    {7, {0x00, 0xFF, 0xFF}, {0x00, 0x82, 0x82}},
    {8, {0x00, 0x94, 0xFF}, {0x00, 0x4E, 0x86}},
    {9, {0x00, 0x26, 0xFF}, {0x00, 0x13, 0x7F}},
    {10, {0x46, 0x00, 0xF8}, {0x22, 0x00, 0x85}},
    {11, {0xAE, 0x00, 0xF9}, {0x5B, 0x00, 0x85}},
    {12, {0xFF, 0x00, 0xDC}, {0x7F, 0x00, 0x6E}},
    {13, {0xFF, 0x00, 0x6E}, {0x7F, 0x00, 0x37}},
    {14, {0x80, 0x80, 0x80}, {0x40, 0x40, 0x40}},
}};

std::string assetPath(const std::string& relative)
{
    return std::string(TELLURIX_SOURCE_DIR) + "/assets/" + relative;
}

std::optional<Bytes> readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t le16(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

uint32_t be32(const Bytes& b, size_t at)
{
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

uint32_t le32(const Bytes& b, size_t at)
{
    return le16(b, at) | (le16(b, at + 2) << 16);
}

int32_t sle32(const Bytes& b, size_t at)
{
    return static_cast<int32_t>(le32(b, at));
}

size_t maskStride(int width)
{
    return ((static_cast<size_t>(width) + 31) / 32) * 4;
}

// Reads one DIB icon entry back into top-down RGBA, and the AND mask.
struct DibImage {
    PixelsRgba pixels;
    std::vector<bool> maskSet;
};

DibImage readDib(const Bytes& file, size_t offset, int width, int height)
{
    DibImage out;
    out.pixels.width = width;
    out.pixels.height = height;
    out.pixels.pixels.resize(static_cast<size_t>(width) * height);
    out.maskSet.resize(static_cast<size_t>(width) * height);
    const size_t colours = offset + 40;
    const size_t mask = colours + static_cast<size_t>(width) * height * 4;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;  // stored bottom-up
        for (int x = 0; x < width; ++x) {
            const size_t at = colours + (static_cast<size_t>(row) * width + x) * 4;
            out.pixels.pixels[static_cast<size_t>(y) * width + x] = {file[at + 2], file[at + 1], file[at],
                                                                     file[at + 3]};
            const uint8_t bits = file[mask + static_cast<size_t>(row) * maskStride(width) + x / 8];
            out.maskSet[static_cast<size_t>(y) * width + x] = (bits & (0x80 >> (x % 8))) != 0;
        }
    }
    return out;
}

bool samePixels(const PixelsRgba& a, const PixelsRgba& b)
{
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size())
        return false;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const Rgba& p = a.pixels[i];
        const Rgba& q = b.pixels[i];
        if (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a)
            return false;
    }
    return true;
}

void expectDibHeader(const Bytes& file, size_t offset, int width, int height)
{
    ASSERT_GE(file.size(), offset + 40);
    EXPECT_EQ(le32(file, offset), 40u);
    EXPECT_EQ(sle32(file, offset + 4), width);
    EXPECT_EQ(sle32(file, offset + 8), 2 * height);  // colour and mask
    EXPECT_EQ(le16(file, offset + 12), 1u);
    EXPECT_EQ(le16(file, offset + 14), 32u);
    EXPECT_EQ(le32(file, offset + 16), 0u);  // uncompressed
}

size_t dibBytes(int size)
{
    return 40 + static_cast<size_t>(size) * size * 4 + maskStride(size) * size;
}

Bytes slice(const Bytes& b, size_t offset, size_t length)
{
    return {b.begin() + static_cast<std::ptrdiff_t>(offset), b.begin() + static_cast<std::ptrdiff_t>(offset + length)};
}

bool hasPngSignature(const Bytes& file)
{
    const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return file.size() >= signature.size() && std::equal(signature.begin(), signature.end(), file.begin());
}

// Walks the chunks of a PNG by hand: signature, IHDR first with the exact
// 8-bit, not interlaced header, every CRC right, the last chunk ending the
// file. Returns the chunk types in order, repeats merged, or nothing.
std::vector<std::string> expectPngChunks(const Bytes& file, uint32_t width, uint32_t height, uint8_t colourType)
{
    if (!hasPngSignature(file)) {
        ADD_FAILURE() << "no PNG signature";
        return {};
    }
    std::vector<std::string> order;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = be32(file, at);
        if (at + 12 + length > file.size())
            break;
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const uLong crc = crc32(0L, file.data() + at + 4, static_cast<uInt>(4 + length));
        EXPECT_EQ(be32(file, at + 8 + length), crc) << type;
        if (type == "IHDR") {
            EXPECT_EQ(length, 13u);
            EXPECT_EQ(be32(file, at + 8), width);
            EXPECT_EQ(be32(file, at + 12), height);
            const Bytes tail{8, colourType, 0, 0, 0};  // depth, colour type, deflate, filter method, not interlaced
            EXPECT_TRUE(length == 13 && slice(file, at + 16, 5) == tail);
        }
        if (order.empty() || order.back() != type)
            order.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(at, file.size());
    EXPECT_TRUE(!order.empty() && order.front() == "IHDR");
    return order;
}

struct IcoEntry {
    size_t offset;
    size_t bytes;
};

Bytes entryBytes(const Bytes& file, const IcoEntry& entry)
{
    return slice(file, entry.offset, entry.bytes);
}

// Checks the directory of an ICO of square entries of `sizes`, packed in that
// order behind the directory: 32-bit DIBs before index `firstPng`, bare RGBA
// PNGs (IHDR, IDAT, IEND) from it on. Returns where each entry starts and
// its length, or nothing if the file is too short to hold them.
std::vector<IcoEntry> expectIcoEntries(const Bytes& file, const std::vector<int>& sizes, size_t firstPng)
{
    const size_t count = sizes.size();
    if (file.size() < 6 + 16 * count)
        return {};
    EXPECT_EQ(le16(file, 0), 0u);  // reserved
    EXPECT_EQ(le16(file, 2), 1u);  // icon
    EXPECT_EQ(le16(file, 4), count);
    std::vector<IcoEntry> entries;
    size_t at = 6 + 16 * count;
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i) + " at " + std::to_string(sizes[i]) + " px");
        const size_t entry = 6 + 16 * i;
        EXPECT_EQ(file[entry], sizes[i] % 256);  // 0 means 256
        EXPECT_EQ(file[entry + 1], sizes[i] % 256);
        EXPECT_EQ(file[entry + 2], 0);  // no palette
        EXPECT_EQ(file[entry + 3], 0);  // reserved
        EXPECT_EQ(le16(file, entry + 4), 1u);
        EXPECT_EQ(le16(file, entry + 6), 32u);
        const size_t bytes = le32(file, entry + 8);
        EXPECT_EQ(le32(file, entry + 12), at);
        if (file.size() < at + bytes)
            return {};
        if (i < firstPng) {
            EXPECT_EQ(bytes, dibBytes(sizes[i]));
            if (bytes != dibBytes(sizes[i]))
                return {};
            expectDibHeader(file, at, sizes[i], sizes[i]);
        } else {
            const auto size = static_cast<uint32_t>(sizes[i]);
            EXPECT_EQ(expectPngChunks(slice(file, at, bytes), size, size, PNG_COLOR_TYPE_RGB_ALPHA),
                      (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        }
        entries.push_back({at, bytes});
        at += bytes;
    }
    EXPECT_EQ(file.size(), at);
    return entries;
}

// --- PNG reading with libpng, as the program does it -----------------------

struct DecodedPng {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    bool hasSrgb = false;
    int srgbIntent = -1;
    bool hasGamma = false;
    png_fixed_point gamma = 0;
    bool hasPhys = false;
    png_uint_32 physX = 0;
    png_uint_32 physY = 0;
    int physUnit = -1;
    PixelsRgb pixels;  // for RGB
    PixelsRgba rgba;   // for RGBA
};

struct MemoryReader {
    const Bytes* data;
    size_t at;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->at + length > reader->data->size())
        png_error(png, "read past end");
    std::copy_n(reader->data->data() + reader->at, length, out);
    reader->at += length;
}

// Both steps are free of objects with destructors: libpng errors longjmp.
bool readPngHeader(png_structp png, png_infop info, MemoryReader* reader, DecodedPng* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, reader, readFromMemory);
    png_read_info(png, info);
    png_get_IHDR(png, info, &out->width, &out->height, &out->bitDepth, &out->colourType, &out->interlace, nullptr,
                 nullptr);
    out->hasSrgb = png_get_sRGB(png, info, &out->srgbIntent) != 0;
    out->hasGamma = png_get_gAMA_fixed(png, info, &out->gamma) != 0;
    out->hasPhys = png_get_pHYs(png, info, &out->physX, &out->physY, &out->physUnit) != 0;
    return true;
}

bool readPngRows(png_structp png, png_infop info, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

std::optional<DecodedPng> decodePng(const Bytes& file)
{
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0)
        return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    DecodedPng out;
    MemoryReader reader{&file, 0};
    bool ok = info != nullptr && readPngHeader(png, info, &reader, &out);
    // Only 8-bit RGB and RGBA are read back as is; anything else fails the form checks anyway.
    const bool alpha = out.colourType == PNG_COLOR_TYPE_RGB_ALPHA;
    const bool readable =
        out.bitDepth == 8 && (alpha || out.colourType == PNG_COLOR_TYPE_RGB) && out.interlace == PNG_INTERLACE_NONE;
    ok = ok && readable;
    if (ok) {
        const size_t count = static_cast<size_t>(out.width) * out.height;
        out.pixels = {static_cast<int>(out.width), static_cast<int>(out.height), {}};
        out.rgba = {static_cast<int>(out.width), static_cast<int>(out.height), {}};
        if (alpha)
            out.rgba.pixels.resize(count);
        else
            out.pixels.pixels.resize(count);
        std::vector<png_bytep> rows(out.height);
        for (png_uint_32 y = 0; y < out.height; ++y) {
            const size_t first = static_cast<size_t>(y) * out.width;
            rows[y] = alpha ? reinterpret_cast<png_bytep>(&out.rgba.pixels[first])
                            : reinterpret_cast<png_bytep>(&out.pixels.pixels[first]);
        }
        ok = readPngRows(png, info, rows.data());
    }
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    if (!ok && (out.width == 0 || readable))
        return std::nullopt;
    return out;
}

uint8_t channel(const Rgb& c, int i)
{
    return i == 0 ? c.r : i == 1 ? c.g : c.b;
}

// --- Icons -------------------------------------------------------------------

// The names below assets/ that the tool owns, sorted.
std::vector<std::string> expectedAssetNames()
{
    std::vector<std::string> names{"app.ico"};
    for (int design = 1; design <= 14; ++design)
        names.push_back("backgrounds/background" + std::to_string(99 + design) + ".png");
    for (const IconCase& icon : kIcons)
        names.push_back("icons/image" + std::to_string(icon.image) + ".ico");
    std::sort(names.begin(), names.end());
    return names;
}

// The files below `root`/icons and `root`/backgrounds, and app.ico if it is there.
std::vector<std::string> assetNamesIn(const fs::path& root)
{
    std::vector<std::string> names;
    if (fs::exists(root / "app.ico"))
        names.push_back("app.ico");
    for (const char* folder : {"icons", "backgrounds"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(root / folder, ec))
            names.push_back(std::string(folder) + "/" + entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AssetsFolder, IsExactlyWhatTheToolWritesNow)
{
    const fs::path fresh = fs::path(testing::TempDir()) / ("tellurix_assets_" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(fresh, ec);
    ASSERT_TRUE(writeAssets(fresh));

    const std::vector<std::string> names = expectedAssetNames();
    EXPECT_EQ(assetNamesIn(fresh), names);
    EXPECT_EQ(assetNamesIn(fs::path(TELLURIX_SOURCE_DIR) / "assets"), names);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto made = readFile((fresh / name).string());
        const auto committed = readFile(assetPath(name));
        ASSERT_TRUE(made.has_value());
        ASSERT_TRUE(committed.has_value());
        EXPECT_FALSE(made->empty());
        EXPECT_TRUE(*made == *committed) << "assets/" << name << " is stale: run make_assets";
    }
    fs::remove_all(fresh, ec);
}

TEST(IconSizes, FollowTheDisplayScaleRoundedHalfUp)
{
    EXPECT_EQ(std::vector<int>(std::begin(kIconScalesPercent), std::end(kIconScalesPercent)),
              (std::vector<int>{100, 150, 200}));
    for (const IconCase& icon : kIcons) {
        for (size_t i = 0; i < icon.sizes.size(); ++i)
            EXPECT_EQ(iconSizeAt(icon.image, kIconScalesPercent[i]), icon.sizes[i]) << "image " << icon.image;
    }
    EXPECT_EQ(iconSizeAt(1, 125), 28);  // 27.5
    EXPECT_EQ(iconSizeAt(9, 150), 0);
}

// Reads image<N>.ico and checks its form: one entry per scale, smallest
// first, the 100 % one a DIB and the larger ones PNG.
std::vector<IcoEntry> iconFileEntries(const IconCase& icon, Bytes& file)
{
    const auto read = readFile(assetPath("icons/image" + std::to_string(icon.image) + ".ico"));
    if (!read)
        return {};
    file = *read;
    return expectIcoEntries(file, {icon.sizes.begin(), icon.sizes.end()}, 1);
}

// An entry's pixels as Windows gets them: a PNG if it starts with the
// signature, else a DIB. Nothing for a PNG libpng cannot read as RGBA.
std::optional<PixelsRgba> entryPixels(const Bytes& file, const IcoEntry& entry, int size)
{
    const Bytes bytes = entryBytes(file, entry);
    if (!hasPngSignature(bytes))
        return readDib(file, entry.offset, size, size).pixels;
    const auto png = decodePng(bytes);
    if (!png || png->rgba.pixels.empty())
        return std::nullopt;
    return png->rgba;
}

TEST(IconsIco, HoldTheHundredPercentDibThenSmallPngsInOrder)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE("image " + std::to_string(icon.image));
        Bytes file;
        const std::vector<IcoEntry> entries = iconFileEntries(icon, file);
        ASSERT_EQ(entries.size(), icon.sizes.size());
        // Compressed, the PNGs come to well under half the DIB they replace.
        for (size_t e = 1; e < entries.size(); ++e)
            EXPECT_LT(entries[e].bytes, dibBytes(icon.sizes[e]) / 2) << e;
    }
}

TEST(IconsIco, DecodeToTheRenderedPixelsWithAMatchingMask)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE("image " + std::to_string(icon.image));
        Bytes file;
        const std::vector<IcoEntry> entries = iconFileEntries(icon, file);
        ASSERT_EQ(entries.size(), icon.sizes.size());
        for (size_t e = 0; e < entries.size(); ++e) {
            const int size = icon.sizes[e];
            SCOPED_TRACE("size " + std::to_string(size));
            const auto pixels = entryPixels(file, entries[e], size);
            ASSERT_TRUE(pixels.has_value());
            EXPECT_TRUE(samePixels(*pixels, renderIcon(icon.image, size)));
        }
        const DibImage dib = readDib(file, entries[0].offset, icon.sizes[0], icon.sizes[0]);
        for (size_t i = 0; i < dib.maskSet.size(); ++i)
            EXPECT_EQ(dib.maskSet[i], dib.pixels.pixels[i].a == 0) << i;
    }
}

// A picture stretched from the 100 % one would pass every form check; one
// drawn afresh differs from that stretch in a good share of its pixels.
TEST(IconsIco, LargerEntriesAreDrawnAtTheirSizeNotStretched)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE("image " + std::to_string(icon.image));
        Bytes file;
        const std::vector<IcoEntry> entries = iconFileEntries(icon, file);
        ASSERT_EQ(entries.size(), icon.sizes.size());
        const int small = icon.sizes[0];
        const auto base = entryPixels(file, entries[0], small);
        ASSERT_TRUE(base.has_value());
        for (size_t e = 1; e < entries.size(); ++e) {
            const int size = icon.sizes[e];
            const auto big = entryPixels(file, entries[e], size);
            ASSERT_TRUE(big.has_value());
            ASSERT_EQ(big->pixels.size(), static_cast<size_t>(size) * size);
            int differing = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const Rgba& p = big->at(x, y);
                    const Rgba& q = base->at(x * small / size, y * small / size);
                    if (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a)
                        ++differing;
                }
            }
            EXPECT_GT(differing, size * size / 4) << "size " << size;
        }
    }
}

TEST(Icons, HaveRealAlphaAndAOnePixelTransparentMargin)
{
    for (const IconCase& icon : kIcons) {
        for (const int size : icon.sizes) {
            SCOPED_TRACE("image " + std::to_string(icon.image) + " at " + std::to_string(size));
            const PixelsRgba p = renderIcon(icon.image, size);
            ASSERT_EQ(p.width, size);
            ASSERT_EQ(p.height, size);
            const int last = size - 1;
            for (int i = 0; i <= last; ++i) {
                EXPECT_EQ(p.at(i, 0).a, 0);
                EXPECT_EQ(p.at(i, last).a, 0);
                EXPECT_EQ(p.at(0, i).a, 0);
                EXPECT_EQ(p.at(last, i).a, 0);
            }
            // A solid picture with smooth edges: a good share of the pixels is
            // opaque, and a good share of the outline pixels is partly covered.
            const auto opaque =
                std::count_if(p.pixels.begin(), p.pixels.end(), [](const Rgba& c) { return c.a == 255; });
            const auto partial =
                std::count_if(p.pixels.begin(), p.pixels.end(), [](const Rgba& c) { return c.a > 0 && c.a < 255; });
            EXPECT_GE(opaque, size * size / 3);
            EXPECT_GE(partial, size);
            // Transparent pixels carry no stray colour.
            for (const Rgba& c : p.pixels) {
                if (c.a == 0) {
                    EXPECT_EQ(c.r | c.g | c.b, 0);
                }
            }
        }
    }
}

TEST(Icons, GreyStateIconsAreTheColouredOnesInGrey)
{
    for (auto [coloured, grey] : {std::pair{1, 4}, std::pair{5, 6}}) {
        SCOPED_TRACE("images " + std::to_string(coloured) + " and " + std::to_string(grey));
        const PixelsRgba c = renderIcon(coloured, iconSize(coloured));
        const PixelsRgba g = renderIcon(grey, iconSize(grey));
        ASSERT_EQ(c.width, g.width);
        ASSERT_EQ(c.pixels.size(), g.pixels.size());
        int colourful = 0;
        for (size_t i = 0; i < c.pixels.size(); ++i) {
            const Rgba& a = c.pixels[i];
            const Rgba& b = g.pixels[i];
            ASSERT_EQ(a.a, b.a) << i;
            if (b.a == 0)
                continue;
            EXPECT_TRUE(b.r == b.g && b.g == b.b) << i;
            // Brightness is kept: the grey is the luminance of the colour.
            const double luma = 0.299 * a.r + 0.587 * a.g + 0.114 * a.b;
            EXPECT_NEAR(b.r, luma, 1.0) << i;
            if (std::max({a.r, a.g, a.b}) - std::min({a.r, a.g, a.b}) > 60)
                ++colourful;
        }
        EXPECT_GT(colourful, c.width * 2);  // the "on" picture really is coloured
    }
}

// Counts opaque pixels whose colour is clearly of one kind.
struct Palette {
    int red = 0, green = 0, blue = 0, yellow = 0, white = 0, slate = 0;
};

Palette paletteOf(const PixelsRgba& p)
{
    Palette out;
    for (const Rgba& c : p.pixels) {
        if (c.a < 200)
            continue;
        if (c.r > 230 && c.g > 230 && c.b > 230)
            ++out.white;
        else if (c.r > c.g + 80 && c.r > c.b + 80)
            ++out.red;
        else if (c.g > c.r + 50 && c.g > c.b + 50)
            ++out.green;
        else if (c.r > 200 && c.g > 140 && c.b < 100)
            ++out.yellow;
        // Blue leans to green or to nothing, slate blue leans to red.
        else if (c.b > c.r + 50 && c.b > c.g + 30 && c.g >= c.r)
            ++out.blue;
        else if (c.b > c.r + 30 && c.b > c.g + 30 && c.r > c.g)
            ++out.slate;
    }
    return out;
}

TEST(Icons, ShowTheirPictures)
{
    const int area22 = 22 * 22;
    const Palette autostart = paletteOf(renderIcon(1, 22));
    EXPECT_GT(autostart.green, area22 / 8);
    EXPECT_GT(autostart.blue, area22 / 20);

    const Palette gear = paletteOf(renderIcon(2, 22));
    EXPECT_GT(gear.slate, area22 / 6);
    EXPECT_GT(gear.white, area22 / 10);

    const Palette info = paletteOf(renderIcon(3, 22));
    EXPECT_GT(info.blue, area22 / 3);
    EXPECT_GT(info.white, area22 / 20);

    const Palette windows = paletteOf(renderIcon(5, 20));
    EXPECT_GT(windows.yellow, 20 * 20 / 12);
    EXPECT_GT(windows.blue, 20 * 20 / 12);

    const Palette power = paletteOf(renderIcon(7, 22));
    EXPECT_GT(power.red, area22 / 3);
    EXPECT_GT(power.white, area22 / 12);

    const Palette globe = paletteOf(renderIcon(8, 24));
    EXPECT_GT(globe.blue, 24 * 24 / 3);
    EXPECT_EQ(globe.red + globe.green + globe.yellow, 0);
}

TEST(Icons, UnknownImagesAndSizesGiveNothing)
{
    for (int image : {0, 9, 100})
        EXPECT_TRUE(renderIcon(image, 22).pixels.empty());
    EXPECT_TRUE(renderIcon(8, 0).pixels.empty());
    EXPECT_TRUE(renderIcon(8, 257).pixels.empty());
    EXPECT_EQ(iconSize(0), 0);
    EXPECT_EQ(iconSize(9), 0);
}

TEST(AppIcon, IsTheGlobeAtFourSizesWithTheTrayPicture)
{
    const auto file = readFile(assetPath("app.ico"));
    ASSERT_TRUE(file.has_value());
    const std::vector<int> sizes{16, 24, 32, 48};
    const std::vector<IcoEntry> entries = expectIcoEntries(*file, sizes, kNoPngEntries);
    ASSERT_EQ(entries.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        SCOPED_TRACE("size " + std::to_string(sizes[i]));
        const DibImage dib = readDib(*file, entries[i].offset, sizes[i], sizes[i]);
        EXPECT_EQ(dib.pixels.at(0, 0).a, 0);
        EXPECT_EQ(dib.pixels.at(sizes[i] / 2, sizes[i] / 2).a, 255);
        EXPECT_TRUE(samePixels(dib.pixels, renderIcon(8, sizes[i])));
    }

    // The 24 pixel entry carries the very bytes of the tray icon's 100 % entry.
    Bytes tray;
    const std::vector<IcoEntry> trayEntries = iconFileEntries(kIcons[7], tray);
    ASSERT_EQ(trayEntries.size(), 3u);
    EXPECT_EQ(entryBytes(tray, trayEntries[0]), entryBytes(*file, entries[1]));
}

// --- ICO and PNG encoders on small made-up pictures ----------------------------

TEST(EncodeIco, StoresBgraBottomUpAndPadsMaskRows)
{
    // Three pixels wide: the colour rows need no padding, the mask rows do.
    PixelsRgba p{3, 2, {}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            p.pixels.push_back({static_cast<uint8_t>(10 + x), static_cast<uint8_t>(20 + y), 30,
                                static_cast<uint8_t>((x + y) % 2 == 0 ? 0 : 200)});
    const Bytes ico = encodeIco({p});
    ASSERT_EQ(ico.size(), 22u + 40 + 3 * 2 * 4 + 2 * 4);
    expectDibHeader(ico, 22, 3, 2);
    // First stored row is the bottom one (y = 1); pixel (0, 1) has alpha 200.
    const size_t colours = 22 + 40;
    EXPECT_EQ(ico[colours + 0], 30);   // blue
    EXPECT_EQ(ico[colours + 1], 21);   // green
    EXPECT_EQ(ico[colours + 2], 10);   // red
    EXPECT_EQ(ico[colours + 3], 200);  // alpha
    // Mask: bottom row transparent at x = 1 only, top row at x = 0 and 2.
    const size_t mask = colours + 24;
    EXPECT_EQ(ico[mask], 0x40);
    EXPECT_EQ(ico[mask + 1] | ico[mask + 2] | ico[mask + 3], 0);
    EXPECT_EQ(ico[mask + 4], 0xA0);
}

TEST(EncodeIco, RefusesWhatAnIconCannotHold)
{
    EXPECT_TRUE(encodeIco({}).empty());
    EXPECT_TRUE(encodeIco({PixelsRgba{}}).empty());
    PixelsRgba huge{257, 1, std::vector<Rgba>(257, Rgba{0, 0, 0, 255})};
    EXPECT_TRUE(encodeIco({huge}).empty());
}

// A made-up picture with every alpha from clear to opaque.
PixelsRgba madeUpPicture(int size)
{
    PixelsRgba p{size, size, {}};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            p.pixels.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y),
                                static_cast<uint8_t>((x + y) * 255 / (2 * size - 2))});
    return p;
}

// 256 pixels is the largest entry, written 0 in the directory.
TEST(EncodeIco, StoresEntriesFromTheFirstPngOneOnAsPng)
{
    const PixelsRgba small = madeUpPicture(16);
    const PixelsRgba big = madeUpPicture(256);
    const Bytes dibOnly = encodeIco({small});
    for (size_t firstPng : {size_t{0}, size_t{1}}) {
        SCOPED_TRACE("first PNG entry " + std::to_string(firstPng));
        const Bytes ico = encodeIco({small, big}, firstPng);
        const std::vector<IcoEntry> entries = expectIcoEntries(ico, {16, 256}, firstPng);
        ASSERT_EQ(entries.size(), 2u);
        // A DIB entry is the very bytes of an all-DIB file's.
        if (firstPng == 1) {
            EXPECT_EQ(entryBytes(ico, entries[0]), slice(dibOnly, 22, dibOnly.size() - 22));
        }
        for (size_t e = 0; e < 2; ++e) {
            const auto pixels = entryPixels(ico, entries[e], e == 0 ? 16 : 256);
            ASSERT_TRUE(pixels.has_value());
            EXPECT_TRUE(samePixels(*pixels, e == 0 ? small : big)) << e;
        }
    }
    EXPECT_EQ(expectIcoEntries(encodeIco({small, big}), {16, 256}, kNoPngEntries).size(), 2u);
}

TEST(EncodePng, RoundTripsThroughLibpng)
{
    PixelsRgb p{5, 3, {}};
    for (int i = 0; i < 15; ++i)
        p.pixels.push_back({static_cast<uint8_t>(i * 17), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i)});
    const auto decoded = decodePng(encodePng(p));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, 5u);
    EXPECT_EQ(decoded->height, 3u);
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        EXPECT_EQ(decoded->pixels.pixels[i].r, p.pixels[i].r);
        EXPECT_EQ(decoded->pixels.pixels[i].g, p.pixels[i].g);
        EXPECT_EQ(decoded->pixels.pixels[i].b, p.pixels[i].b);
    }
    EXPECT_TRUE(encodePng(PixelsRgb{}).empty());
}

// --- Backgrounds ---------------------------------------------------------------

TEST(BackgroundsPng, AreEightBitRgbWithColourAndResolutionChunks)
{
    for (const DesignCase& d : kDesigns) {
        SCOPED_TRACE("design " + std::to_string(d.design));
        const auto file = readFile(assetPath("backgrounds/background" + std::to_string(99 + d.design) + ".png"));
        ASSERT_TRUE(file.has_value());
        const auto png = decodePng(*file);
        ASSERT_TRUE(png.has_value());
        EXPECT_EQ(png->width, 390u);
        EXPECT_EQ(png->height, 40u);
        EXPECT_EQ(png->bitDepth, 8);
        EXPECT_EQ(png->colourType, PNG_COLOR_TYPE_RGB);
        EXPECT_EQ(png->interlace, PNG_INTERLACE_NONE);
        EXPECT_TRUE(png->hasSrgb);
        EXPECT_EQ(png->srgbIntent, PNG_sRGB_INTENT_PERCEPTUAL);
        EXPECT_TRUE(png->hasGamma);
        EXPECT_EQ(png->gamma, 45455);
        EXPECT_TRUE(png->hasPhys);
        EXPECT_EQ(png->physX, 3779u);
        EXPECT_EQ(png->physY, 3779u);
        EXPECT_EQ(png->physUnit, PNG_RESOLUTION_METER);
    }
}

// The sRGB, gAMA and pHYs chunks ahead of the image data, IEND last, and
// nothing else.
TEST(BackgroundsPng, HoldExactlyTheStatedChunks)
{
    for (const DesignCase& d : kDesigns) {
        SCOPED_TRACE("design " + std::to_string(d.design));
        const auto file = readFile(assetPath("backgrounds/background" + std::to_string(99 + d.design) + ".png"));
        ASSERT_TRUE(file.has_value());
        const std::vector<std::string> order = expectPngChunks(*file, 390, 40, PNG_COLOR_TYPE_RGB);
        ASSERT_GE(order.size(), 6u);
        EXPECT_EQ(order[order.size() - 2], "IDAT");
        EXPECT_EQ(order.back(), "IEND");
        std::vector<std::string> extras(order.begin() + 1, order.end() - 2);
        std::sort(extras.begin(), extras.end());
        EXPECT_EQ(extras, (std::vector<std::string>{"gAMA", "pHYs", "sRGB"}));
    }
}

TEST(BackgroundsPng, DecodeToTheRenderedGradients)
{
    for (const DesignCase& d : kDesigns) {
        SCOPED_TRACE("design " + std::to_string(d.design));
        const auto file = readFile(assetPath("backgrounds/background" + std::to_string(99 + d.design) + ".png"));
        ASSERT_TRUE(file.has_value());
        const auto png = decodePng(*file);
        ASSERT_TRUE(png.has_value());
        const PixelsRgb expected = renderBackground(d.design);
        ASSERT_EQ(png->pixels.pixels.size(), expected.pixels.size());
        for (size_t i = 0; i < expected.pixels.size(); ++i) {
            const Rgb& a = png->pixels.pixels[i];
            const Rgb& b = expected.pixels[i];
            ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b) << "pixel " << i;
        }
    }
}

TEST(Backgrounds, AreRowUniformGradientsFromTopToBottomColour)
{
    for (const DesignCase& d : kDesigns) {
        SCOPED_TRACE("design " + std::to_string(d.design));
        const PixelsRgb p = renderBackground(d.design);
        ASSERT_EQ(p.width, 390);
        ASSERT_EQ(p.height, 40);
        for (int y = 0; y < 40; ++y) {
            for (int x = 1; x < 390; ++x) {
                const Rgb& a = p.at(0, y);
                const Rgb& b = p.at(x, y);
                ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b) << "row " << y << " column " << x;
            }
        }
        for (int ch = 0; ch < 3; ++ch) {
            SCOPED_TRACE("channel " + std::to_string(ch));
            const int top = d.top[static_cast<size_t>(ch)];
            const int bottom = d.bottom[static_cast<size_t>(ch)];
            EXPECT_EQ(channel(p.at(0, 0), ch), top);
            EXPECT_EQ(channel(p.at(0, 39), ch), bottom);
            EXPECT_GE(bottom * 100, top * 48);
            EXPECT_LE(bottom * 100, top * 54);
            for (int y = 1; y < 40; ++y)
                EXPECT_LE(channel(p.at(0, y), ch), channel(p.at(0, y - 1), ch)) << y;
            for (int y = 0; y < 40; ++y) {
                const double line = top + (bottom - top) * y / 39.0;
                EXPECT_LE(std::abs(channel(p.at(0, y), ch) - line), 1.0) << y;
            }
        }
    }
}

TEST(Backgrounds, UnknownDesignsGiveNothing)
{
    EXPECT_TRUE(renderBackground(0).pixels.empty());
    EXPECT_TRUE(renderBackground(15).pixels.empty());
}

}  // namespace
