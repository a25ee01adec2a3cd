#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace tellurix::assets {

namespace {

double length(Vec v)
{
    return std::hypot(v.x, v.y);
}

double clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

uint8_t toByte(double v)
{
    return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0));
}

// Distance from p to the segment a-b.
double segmentDistance(Vec p, Vec a, Vec b)
{
    const Vec ab{b.x - a.x, b.y - a.y};
    const Vec ap{p.x - a.x, p.y - a.y};
    const double len2 = ab.x * ab.x + ab.y * ab.y;
    const double t = len2 > 0.0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0, 1.0) : 0.0;
    return length({ap.x - ab.x * t, ap.y - ab.y * t});
}

}  // namespace

Colour hex(uint32_t rgb, double alpha)
{
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Shape circle(Vec centre, double radius)
{
    return [=](Vec p) { return length({p.x - centre.x, p.y - centre.y}) - radius; };
}

Shape ellipse(Vec centre, double rx, double ry)
{
    // Close to the true distance near the outline, which is all a thin stroke needs.
    return [=](Vec p) {
        const Vec q{(p.x - centre.x) / rx, (p.y - centre.y) / ry};
        const double k0 = length(q);
        const double k1 = length({q.x / rx, q.y / ry});
        if (k1 == 0.0)
            return -std::min(rx, ry);
        return k0 * (k0 - 1.0) / k1;
    };
}

Shape box(double left, double top, double right, double bottom, double cornerRadius)
{
    const Vec centre{(left + right) / 2, (top + bottom) / 2};
    const Vec half{(right - left) / 2 - cornerRadius, (bottom - top) / 2 - cornerRadius};
    return [=](Vec p) {
        const Vec d{std::abs(p.x - centre.x) - half.x, std::abs(p.y - centre.y) - half.y};
        const double outside = length({std::max(d.x, 0.0), std::max(d.y, 0.0)});
        const double inside = std::min(std::max(d.x, d.y), 0.0);
        return outside + inside - cornerRadius;
    };
}

Shape polygon(std::vector<Vec> points)
{
    return [pts = std::move(points)](Vec p) {
        double best = 1e9;
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            best = std::min(best, segmentDistance(p, pts[j], pts[i]));
            const Vec a = pts[i];
            const Vec b = pts[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside ? -best : best;
    };
}

Shape capsule(Vec a, Vec b, double halfWidth)
{
    return [=](Vec p) { return segmentDistance(p, a, b) - halfWidth; };
}

Shape stroke(Shape s, double width)
{
    return [s = std::move(s), width](Vec p) { return std::abs(s(p)) - width / 2; };
}

Shape grow(Shape s, double by)
{
    return [s = std::move(s), by](Vec p) { return s(p) - by; };
}

Shape unite(Shape a, Shape b)
{
    return [a = std::move(a), b = std::move(b)](Vec p) { return std::min(a(p), b(p)); };
}

Shape intersect(Shape a, Shape b)
{
    return [a = std::move(a), b = std::move(b)](Vec p) { return std::max(a(p), b(p)); };
}

Shape subtract(Shape a, Shape b)
{
    return [a = std::move(a), b = std::move(b)](Vec p) { return std::max(a(p), -b(p)); };
}

Shape translate(Shape s, Vec by)
{
    return [s = std::move(s), by](Vec p) { return s({p.x - by.x, p.y - by.y}); };
}

Shape rotate(Shape s, Vec pivot, double degrees)
{
    const double rad = degrees * std::numbers::pi / 180.0;
    const double cs = std::cos(rad);
    const double sn = std::sin(rad);
    return [s = std::move(s), pivot, cs, sn](Vec p) {
        const Vec d{p.x - pivot.x, p.y - pivot.y};
        return s({pivot.x + d.x * cs + d.y * sn, pivot.y - d.x * sn + d.y * cs});
    };
}

Paint solid(Colour c)
{
    return [c](Vec) { return c; };
}

Paint linear(Vec p0, Colour c0, Vec p1, Colour c1)
{
    const Vec d{p1.x - p0.x, p1.y - p0.y};
    const double len2 = d.x * d.x + d.y * d.y;
    return [=](Vec p) {
        const double t = len2 > 0.0 ? ((p.x - p0.x) * d.x + (p.y - p0.y) * d.y) / len2 : 0.0;
        return mix(c0, c1, clamp01(t));
    };
}

Paint radial(Vec centre, double radius, Colour c0, Colour c1)
{
    return [=](Vec p) { return mix(c0, c1, clamp01(length({p.x - centre.x, p.y - centre.y}) / radius)); };
}

Canvas::Canvas(int size, int designSize)
    : size_(size),
      unitsPerPixel_(size > 2 && designSize > 2 ? (designSize - 2.0) / (size - 2.0) : 1.0),
      premultiplied_(static_cast<size_t>(size) * size, Colour{0, 0, 0, 0})
{}

void Canvas::fill(const Shape& shape, const Paint& paint)
{
    constexpr double kWeight = 1.0 / (kSamples * kSamples);
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            // Average the paint over the samples the shape covers: that is
            // both the coverage (alpha) and the colour of this pixel's share.
            Colour src{0, 0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Vec p{1.0 + (x + (sx + 0.5) / kSamples - 1.0) * unitsPerPixel_,
                                1.0 + (y + (sy + 0.5) / kSamples - 1.0) * unitsPerPixel_};
                    if (shape(p) >= 0.0)
                        continue;
                    const Colour c = paint(p);
                    src.r += c.r * c.a * kWeight;
                    src.g += c.g * c.a * kWeight;
                    src.b += c.b * c.a * kWeight;
                    src.a += c.a * kWeight;
                }
            }
            if (src.a <= 0.0)
                continue;
            Colour& dst = premultiplied_[static_cast<size_t>(y) * size_ + x];
            const double keep = 1.0 - src.a;
            dst = {src.r + dst.r * keep, src.g + dst.g * keep, src.b + dst.b * keep, src.a + dst.a * keep};
        }
    }
}

PixelsRgba Canvas::pixels() const
{
    PixelsRgba out;
    out.width = size_;
    out.height = size_;
    out.pixels.reserve(premultiplied_.size());
    for (const Colour& c : premultiplied_) {
        const uint8_t a = toByte(c.a);
        if (a == 0) {
            // Fully transparent pixels carry no colour, so the ICO mask and
            // the colour data agree.
            out.pixels.push_back({0, 0, 0, 0});
            continue;
        }
        out.pixels.push_back({toByte(c.r / c.a), toByte(c.g / c.a), toByte(c.b / c.a), a});
    }
    return out;
}

PixelsRgba toGrey(const PixelsRgba& image)
{
    PixelsRgba out = image;
    for (Rgba& p : out.pixels) {
        if (p.a == 0)
            continue;
        // Rec. 601 luma: the weights people read brightness by.
        const double y = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
        const auto v = static_cast<uint8_t>(std::lround(std::clamp(y, 0.0, 255.0)));
        p.r = p.g = p.b = v;
    }
    return out;
}

}  // namespace tellurix::assets
