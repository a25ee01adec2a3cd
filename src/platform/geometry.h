#pragma once

// Points, sizes and rectangles in pixels, as every part of the toolkit uses them.
namespace tellurix::platform {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tellurix::platform
