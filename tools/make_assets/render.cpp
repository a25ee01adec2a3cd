// The eight icons. Each is drawn in its own unit box (the size the program
// shows it at) so that edges fall on whole pixels there; other sizes scale.
#include "render.h"

#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tellurix::assets {

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;

const Colour kWhite = hex(0xFFFFFF);

Vec polar(Vec centre, double radius, double degreesFromTop)
{
    return {centre.x + radius * std::sin(degreesFromTop * kDegrees),
            centre.y - radius * std::cos(degreesFromTop * kDegrees)};
}

// A round badge: lit from above, with a darker rim so it holds its edge on
// light backgrounds as well as on dark ones.
void drawDisc(Canvas& c, Vec centre, double radius, Colour top, Colour bottom, Colour rim)
{
    c.fill(circle(centre, radius), linear({centre.x, centre.y - radius}, top, {centre.x, centre.y + radius}, bottom));
    c.fill(intersect(circle(centre, radius - 1.2),
                     ellipse({centre.x, centre.y - radius * 0.5}, radius * 0.78, radius * 0.5)),
           linear({centre.x, centre.y - radius}, hex(0xFFFFFF, 0.30), {centre.x, centre.y}, hex(0xFFFFFF, 0.0)));
    c.fill(stroke(circle(centre, radius - 0.5), 1.0), rim);
}

// White symbol with a soft drop shadow, which keeps its outline sharp
// against the lighter upper half of the disc.
void drawSymbol(Canvas& c, const Shape& symbol)
{
    c.fill(translate(grow(symbol, 0.15), {0.0, 0.8}), hex(0x000000, 0.35));
    c.fill(symbol, linear({0, 4}, kWhite, {0, 18}, hex(0xEEF1F7)));
}

// A shape with a one-unit darker border inside its edge.
void drawOutlined(Canvas& c, const Shape& shape, Colour border, const Paint& inside, double width = 1.0)
{
    c.fill(shape, border);
    c.fill(grow(shape, -width), inside);
}

PixelsRgba autostart(int size)
{
    Canvas c(size, 22);

    // Three steps rising to the right.
    const Shape stairs = polygon({{2, 20}, {2, 16}, {8, 16}, {8, 12}, {14, 12}, {14, 8}, {20, 8}, {20, 20}});

    // The arrow climbs along them, parallel to the line over their noses,
    // towards the top right corner.
    const double norm = std::hypot(3.0, 2.0);
    const Vec dir{3.0 / norm, -2.0 / norm};
    const Vec across{2.0 / norm, 3.0 / norm};
    const Vec tip{18.4, 2.0};
    const double headLength = 7.2;
    const double headHalf = 4.6;
    const Vec base{tip.x - dir.x * headLength, tip.y - dir.y * headLength};
    const Vec tail{tip.x - dir.x * 16.5, tip.y - dir.y * 16.5};
    const Shape head = polygon({tip,
                                {base.x + across.x * headHalf, base.y + across.y * headHalf},
                                {base.x - across.x * headHalf, base.y - across.y * headHalf}});
    const Shape arrow = unite(head, capsule(tail, {base.x + dir.x, base.y + dir.y}, 1.5));

    // Where the two come close, the stairs give way: a sliver of whatever
    // lies behind the icon keeps them apart on any background.
    drawOutlined(c, subtract(stairs, grow(arrow, 0.8)), hex(0x1B6A14),
                 linear({0, 8}, hex(0x7FDB55), {0, 20}, hex(0x2F9A27)));
    drawOutlined(c, arrow, hex(0x0B3A8C), linear({tail.x, tail.y}, hex(0x2A70E8), {tip.x, tip.y}, hex(0x63B0FF)), 0.9);
    return c.pixels();
}

PixelsRgba gear(int size)
{
    Canvas c(size, 22);
    const Vec centre{11, 11};
    drawDisc(c, centre, 10, hex(0x6257B0), hex(0x352C74), hex(0x221B55));

    // Eight teeth, the upright ones two pixels wide at the tip and ending
    // on a pixel edge at 22 pixels.
    Shape wheel = circle(centre, 5.4);
    const Shape tooth = grow(polygon({{centre.x - 1.4, centre.y - 4.5},
                                      {centre.x + 1.4, centre.y - 4.5},
                                      {centre.x + 0.75, centre.y - 7.75},
                                      {centre.x - 0.75, centre.y - 7.75}}),
                             0.25);
    for (int i = 0; i < 8; ++i)
        wheel = unite(wheel, rotate(tooth, centre, i * 45.0));
    drawSymbol(c, subtract(wheel, circle(centre, 2.1)));
    return c.pixels();
}

PixelsRgba info(int size)
{
    Canvas c(size, 22);
    drawDisc(c, {11, 11}, 10, hex(0x4A9BF5), hex(0x1655BF), hex(0x0E3F8F));

    // Edges on whole pixels at 22 pixels, so the letter stays crisp.
    const Shape dot = circle({11, 6}, 1.75);
    const Shape stem = unite(unite(box(10, 9, 12, 16), box(8, 9, 12, 10.2)), box(8, 15, 14, 17, 0.3));
    drawSymbol(c, unite(dot, stem));
    return c.pixels();
}

PixelsRgba windows(int size)
{
    Canvas c(size, 20);

    // Behind: a yellow window with an orange title bar.
    c.fill(box(1, 1, 14, 13, 0.6), hex(0xA85800));
    c.fill(box(2, 2, 13, 5), linear({0, 2}, hex(0xFFA330), {0, 5}, hex(0xF07C00)));
    c.fill(box(2, 5, 13, 12), linear({0, 5}, hex(0xFFE45A), {0, 12}, hex(0xFFC400)));

    // In front: a blue one, casting a one pixel shadow down and to the right.
    c.fill(box(8, 8, 19, 19, 0.6), hex(0x000000, 0.30));
    c.fill(box(7, 7, 18, 18, 0.6), hex(0x123F8F));
    c.fill(box(8, 8, 17, 11), linear({0, 8}, hex(0x4F97F5), {0, 11}, hex(0x1E62D0)));
    c.fill(box(8, 11, 17, 17), linear({0, 11}, hex(0xDCEBFF), {0, 17}, hex(0xA8CBF8)));
    return c.pixels();
}

PixelsRgba power(int size)
{
    Canvas c(size, 22);
    drawDisc(c, {11, 11}, 10, hex(0xF0504A), hex(0xB3161A), hex(0x7E0D10));

    // The ring is open at the top; the gap is wide enough to leave air
    // around the bar at small sizes.
    const Vec centre{11, 11.6};
    const double radius = 5.0;
    const double halfGap = 42.0;
    const double width = 2.0;
    const Shape gap = polygon({centre, polar(centre, 12, -halfGap), polar(centre, 12, halfGap)});
    Shape ring = subtract(stroke(circle(centre, radius), width), gap);
    ring = unite(ring, circle(polar(centre, radius, -halfGap), width / 2));
    ring = unite(ring, circle(polar(centre, radius, halfGap), width / 2));
    const Shape bar = capsule({11, 4.6}, {11, 10.4}, width / 2);
    drawSymbol(c, unite(ring, bar));
    return c.pixels();
}

// Drawn in pixels rather than units, so that the grid lines fall on whole
// pixels: one pixel wide lines need the globe centred on a pixel centre.
PixelsRgba globe(int size)
{
    Canvas c(size, size);
    const double line = std::max(1.0, std::round(size / 24.0));
    const double mid = static_cast<int>(line) % 2 == 1 ? std::floor(size / 2.0) - 0.5 : std::floor(size / 2.0);
    const Vec centre{mid, mid};
    const double radius = mid - 1.0;

    c.fill(circle(centre, radius),
           radial({mid - radius * 0.35, mid - radius * 0.45}, radius * 1.6, hex(0x6CB8FF), hex(0x0C3F9E)));

    const Colour grid = hex(0xFFFFFF, 0.85);
    const Shape inside = circle(centre, radius - 0.3);
    // Meridians as a lens and a centre line, and the equator. Two more
    // parallels only where there is room: at 16 and 24 pixels they turn the
    // sphere into a grid.
    Shape lines = stroke(ellipse(centre, std::round(radius * 0.45), radius), line);
    lines = unite(lines, box(mid - line / 2, 0, mid + line / 2, size));
    lines = unite(lines, box(0, mid - line / 2, size, mid + line / 2));
    if (size >= 32) {
        const double step = std::round(radius * 0.55);
        for (double y : {mid - step, mid + step})
            lines = unite(lines, box(0, y - line / 2, size, y + line / 2));
    }
    c.fill(intersect(lines, inside), grid);

    c.fill(stroke(circle(centre, radius - 0.5), 1.0), hex(0x0A3580));
    return c.pixels();
}

}  // namespace

int iconSize(int image)
{
    switch (image) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 7: return 22;
    case 5:
    case 6: return 20;
    case 8: return 24;
    default: return 0;
    }
}

int iconSizeAt(int image, int percent)
{
    if (percent < 1)
        return 0;
    return (iconSize(image) * percent + 50) / 100;
}

PixelsRgba renderIcon(int image, int size)
{
    if (size < 8 || size > 256)
        return {};
    switch (image) {
    case 1: return autostart(size);
    case 2: return gear(size);
    case 3: return info(size);
    case 4: return toGrey(autostart(size));
    case 5: return windows(size);
    case 6: return toGrey(windows(size));
    case 7: return power(size);
    case 8: return globe(size);
    default: return {};
    }
}

}  // namespace tellurix::assets
