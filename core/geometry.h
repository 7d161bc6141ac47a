#pragma once

// Points, sizes and rectangles in whole pixels, for the rules that place pictures on the display
// and the cells an edit touches.
namespace geometry {

struct Point
{
    int x = 0;
    int y = 0;

    bool operator==(const Point &other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point &other) const { return !(*this == other); }
};

struct Size
{
    int width = 0;
    int height = 0;

    bool isValid() const { return width > 0 && height > 0; }
    Size transposed() const { return {height, width}; }
    bool operator==(const Size &other) const
    {
        return width == other.width && height == other.height;
    }
    bool operator!=(const Size &other) const { return !(*this == other); }
};

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width - 1; }
    int bottom() const { return top + height - 1; }
    bool operator==(const Rect &other) const
    {
        return left == other.left && top == other.top && width == other.width &&
               height == other.height;
    }
    bool operator!=(const Rect &other) const { return !(*this == other); }
};

// The part of `a` that lies inside `b`; an empty rectangle when they do not meet.
inline Rect intersected(const Rect &a, const Rect &b)
{
    const int left = a.left > b.left ? a.left : b.left;
    const int top = a.top > b.top ? a.top : b.top;
    const int right = a.right() < b.right() ? a.right() : b.right();
    const int bottom = a.bottom() < b.bottom() ? a.bottom() : b.bottom();
    if (right < left || bottom < top)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

} // namespace geometry
