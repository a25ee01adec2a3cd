// A tiny vector painter for the icons: shapes are signed distance functions
// (negative inside), filled with supersampled coverage and composited
// source-over in premultiplied floating point.
#pragma once

#include "render.h"

#include <functional>
#include <vector>

namespace tellurix::assets {

struct Vec {
    double x, y;
};

struct Colour {
    double r, g, b, a;  // straight alpha, 0..1
};

Colour hex(uint32_t rgb, double alpha = 1.0);
Colour mix(Colour a, Colour b, double t);

using Shape = std::function<double(Vec)>;
using Paint = std::function<Colour(Vec)>;

Shape circle(Vec centre, double radius);
Shape ellipse(Vec centre, double rx, double ry);
Shape box(double left, double top, double right, double bottom, double cornerRadius = 0.0);
Shape polygon(std::vector<Vec> points);
Shape capsule(Vec a, Vec b, double halfWidth);
// A band of width `width` centred on the outline of `s`.
Shape stroke(Shape s, double width);
// `s` grown outwards by `by` (shrunk for a negative value).
Shape grow(Shape s, double by);
Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape translate(Shape s, Vec by);
// `s` turned by `degrees` (clockwise on screen) about `pivot`.
Shape rotate(Shape s, Vec pivot, double degrees);

Paint solid(Colour c);
// Linear blend from `c0` at `p0` to `c1` at `p1`, clamped beyond the ends.
Paint linear(Vec p0, Colour c0, Vec p1, Colour c1);
// Radial blend from `c0` at `centre` to `c1` at distance `radius`.
Paint radial(Vec centre, double radius, Colour c0, Colour c1);

class Canvas {
public:
    // A drawing made for a box of `designSize` units, painted at `size`
    // pixels. The outer unit maps to the outer pixel at any size, so a one
    // unit margin stays a one pixel margin.
    Canvas(int size, int designSize);

    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, Colour colour) { fill(shape, solid(colour)); }

    PixelsRgba pixels() const;

private:
    static constexpr int kSamples = 8;  // per axis: 64 coverage levels

    int size_;
    double unitsPerPixel_;
    std::vector<Colour> premultiplied_;
};

// Luminance of every pixel, alpha untouched.
PixelsRgba toGrey(const PixelsRgba& image);

}  // namespace tellurix::assets
