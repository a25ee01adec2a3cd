// The files the program embeds, in the folder layout its resource script expects.
#include "render.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>

namespace tellurix::assets {

namespace {

namespace fs = std::filesystem;

bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty()) {
        std::fprintf(stderr, "make_assets: nothing to write for %s\n", path.string().c_str());
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_assets: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

bool writeAssets(const fs::path& folder)
{
    std::error_code ec;
    fs::create_directories(folder / "icons", ec);
    fs::create_directories(folder / "backgrounds", ec);

    bool ok = true;
    for (int image = kFirstIcon; image <= kLastIcon; ++image) {
        // Drawn afresh at each scale: the 100 % picture stretched would show
        // blocky or blurred edges. The larger pictures go in as PNG, which
        // keeps the program's file small.
        std::vector<PixelsRgba> entries;
        for (int percent : kIconScalesPercent)
            entries.push_back(renderIcon(image, iconSizeAt(image, percent)));
        const auto name = "image" + std::to_string(image) + ".ico";
        ok = writeFile(folder / "icons" / name, encodeIco(entries, kFirstPngIconEntry)) && ok;
    }

    // The globe again, at the sizes the shell asks for; its 24-pixel entry
    // is the tray icon's picture.
    ok = writeFile(folder / "app.ico",
                   encodeIco({renderIcon(8, 16), renderIcon(8, 24), renderIcon(8, 32), renderIcon(8, 48)})) &&
         ok;

    for (int design = kFirstDesign; design <= kLastDesign; ++design) {
        const auto name = "background" + std::to_string(99 + design) + ".png";
        ok = writeFile(folder / "backgrounds" / name, encodePng(renderBackground(design))) && ok;
    }
    return ok;
}

}  // namespace tellurix::assets
