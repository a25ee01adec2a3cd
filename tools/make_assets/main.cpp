// make_assets <assets folder>: writes the icons, the application icon and
// the design backgrounds that the program embeds.
#include "render.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets <assets folder>\n");
        return 2;
    }
    return tellurix::assets::writeAssets(argv[1]) ? 0 : 1;
}
