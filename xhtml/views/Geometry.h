#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

namespace xhtml {

// Geometry is in whole device pixels. Lengths come from documents, so sums and products are
// computed wide and clamped to the int range: a hostile width saturates instead of wrapping.
constexpr int saturated(long long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}
constexpr int saturated(double value) {
    // Truncates toward zero; NaN counts as 0.
    return value >= static_cast<double>(INT_MAX)   ? INT_MAX
           : value <= static_cast<double>(INT_MIN) ? INT_MIN
           : value == value                        ? static_cast<int>(value)
                                                   : 0;
}
constexpr int addSaturated(int a, int b) {
    return saturated(static_cast<long long>(a) + b);
}
constexpr int subtractSaturated(int a, int b) {
    return saturated(static_cast<long long>(a) - b);
}

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;

    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return subtractSaturated(right, left); }
    int height() const { return subtractSaturated(bottom, top); }
    Size size() const { return {width(), height()}; }
    // Right and bottom edges are outside.
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // Touching edges count as meeting.
    bool meets(const Rect& r) const {
        return !(right < r.left || left > r.right || bottom < r.top || top > r.bottom);
    }
    // Empty (right <= left or bottom <= top) when the two do not overlap.
    Rect clippedTo(const Rect& r) const {
        return {std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                std::min(bottom, r.bottom)};
    }
    bool isEmpty() const { return right <= left || bottom <= top; }
    Rect movedBy(int dx, int dy) const {
        return {addSaturated(left, dx), addSaturated(top, dy), addSaturated(right, dx),
                addSaturated(bottom, dy)};
    }
    static Rect at(Point origin, Size size) {
        return {origin.x, origin.y, addSaturated(origin.x, size.width),
                addSaturated(origin.y, size.height)};
    }

    bool operator==(const Rect&) const = default;
};

// The four sides of a margin, border or padding.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int horizontal() const { return addSaturated(left, right); }
    int vertical() const { return addSaturated(top, bottom); }
    Edges operator+(const Edges& o) const {
        return {addSaturated(left, o.left), addSaturated(top, o.top), addSaturated(right, o.right),
                addSaturated(bottom, o.bottom)};
    }
};

} // namespace xhtml
