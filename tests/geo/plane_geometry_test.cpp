// Segments, rectangles, polygons and the colour table.
#include "geo/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Get40Clrref, TableEntriesAndIndexesOutsideIt) {
    const struct {
        int index;
        unsigned long colour;
    } cases[] = {{0, 0x000000}, {1, 0x7F0000},       {4, 0x00007F},  {7, 0x7F7F7F},
                 {8, 0xFF0000}, {11, 0x0000FF},      {13, 0x00FFFF}, {14, 0},
                 {-1, 0},       {-2147483647 - 1, 0}};
    for (const auto& c : cases) EXPECT_EQ(get_40_clrref(c.index), c.colour) << c.index;
}

TEST(LineSegIntersect, FractionAlongTheFirstSegment) {
    const struct {
        dPOINT a, b, u, v;
        double fraction;
    } cases[] = {{{0, 0}, {2, 0}, {1, -1}, {1, 1}, 0.5},
                 {{4, 0}, {0, 0}, {1, -1}, {1, 3}, 0.75},
                 // Touching at an end point of either segment, and just inside.
                 {{0, 0}, {2, 0}, {2, -1}, {2, 1}, 0},
                 {{0, 0}, {2, 0}, {1, -1}, {1, 0}, 0},
                 {{0, 0}, {2, 0}, {1.999, -1}, {1.999, 1}, 0.9995},
                 {{0, 0}, {2, 0}, {1, -1}, {1, 0.001}, 0.5},
                 // Parallel, collinear and overlapping, degenerate, NaN.
                 {{0, 0}, {2, 0}, {0, 1}, {2, 1}, 0},
                 {{0, 0}, {2, 0}, {-1, 0}, {3, 0}, 0},
                 {{1, 1}, {1, 1}, {0, 0}, {2, 2}, 0},
                 {{0, 0}, {2, 0}, {1, kNaN}, {1, 1}, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(LineSegIntersect(c.a, c.b, c.u, c.v), c.fraction)
            << "(" << c.u.x << "," << c.u.y << ")-(" << c.v.x << "," << c.v.y << ")";
}

// The rectangle (0,0)-(10,10), its corners named either way round, and each
// segment in both directions.
TEST(LineInRect, TouchesTheRectangle) {
    const struct {
        double x3, y3, x4, y4;
        bool touches;
    } cases[] = {{-5, 5, 15, 5, true},    // through both vertical edges
                 {10, 10, 20, 20, true},  // an end point on the corner
                 {5, 5, 6, 6, true},      // wholly inside
                 {-5, -1, 15, -1, false}, // below
                 {-5, 0, 15, 0, false},   // along an edge: no crossing inside it
                 {7, -3, 13, 23, true},   // in through y = 0, out through a corner
                 {-1, 9, 1, 11, false},   // meets a corner only
                 {-1, 8.999, 1, 10.999, true}, {-1, 9.001, 1, 11.001, false},
                 {-10, 20, 20, -10, false}, // through two opposite corners: no edge crossed inside
                 {-10, 31, 31, -10, false},    {kNaN, kNaN, kNaN, kNaN, false}};
    for (const auto& c : cases) {
        for (bool reversed : {false, true}) {
            const double x3 = reversed ? c.x4 : c.x3, y3 = reversed ? c.y4 : c.y3;
            const double x4 = reversed ? c.x3 : c.x4, y4 = reversed ? c.y3 : c.y4;
            EXPECT_EQ(line_in_rect(0, 0, 10, 10, x3, y3, x4, y4), c.touches)
                << "(" << x3 << "," << y3 << ")-(" << x4 << "," << y4 << ")";
            EXPECT_EQ(line_in_rect(0, 10, 10, 0, x3, y3, x4, y4), c.touches);
        }
    }
    // A rectangle of no height is touched by a point on it and crossed by a
    // segment through it.
    EXPECT_TRUE(line_in_rect(0, 5, 10, 5, 3, 0, 3, 8));
    EXPECT_FALSE(line_in_rect(0, 5, 10, 5, 3, 6, 3, 8));
}

// Points on the border follow the half-open rule: the bottom and left edges
// belong to the square, the top and right edges do not, whichever way round
// the square is listed.
TEST(PointInPoly, SquareWithItsBorders) {
    std::vector<dPOINT> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    std::vector<dPOINT> clockwise(square.rbegin(), square.rend());
    const struct {
        double x, y;
        int inside;
    } cases[] = {{5, 5, 1},
                 {15, 5, 0},
                 {-5, 5, 0},
                 {0, 5, 1},
                 {10, 5, 0},
                 {5, 0, 1},
                 {5, 10, 0},
                 {0, 0, 1},
                 {10, 10, 0},
                 {-5, 0, 0},
                 {9.999999, 9.999999, 1},
                 {10.000001, 5, 0},
                 {kNaN, kNaN, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(pointInPoly(c.x, c.y, square.data(), 4), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(pointInPoly(c.x, c.y, clockwise.data(), 4), c.inside) << c.x << "," << c.y;
    }
}

TEST(PointInPoly, VerticesAtThePointsHeightCountOnce) {
    // The ray from (0,0) passes exactly through the diamond's vertex (5,0).
    std::vector<dPOINT> diamond = {{0, -5}, {5, 0}, {0, 5}, {-5, 0}};
    EXPECT_EQ(pointInPoly(0, 0, diamond.data(), 4), 1);
    EXPECT_EQ(pointInPoly(-6, 0, diamond.data(), 4), 0);
    // A notch whose tip (2,0) touches the ray from above.
    std::vector<dPOINT> crown = {{-10, -10}, {10, -10}, {10, 5}, {4, 5}, {2, 0}, {0, 5}, {-10, 5}};
    EXPECT_EQ(pointInPoly(-5, 0, crown.data(), 7), 1);
    EXPECT_EQ(pointInPoly(2, 1, crown.data(), 7), 0);
    // Collinear vertices along the edges change nothing.
    std::vector<dPOINT> square = {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}, {0, 5}};
    EXPECT_EQ(pointInPoly(5, 5, square.data(), 7), 1);
    EXPECT_EQ(pointInPoly(5, 0, square.data(), 7), 1);
}

TEST(PointInPoly, DegenerateAndLargePolygons) {
    std::vector<dPOINT> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(pointInPoly(5, 5, square.data(), 0), 0);
    EXPECT_EQ(pointInPoly(5, 5, square.data(), -3), 0);
    EXPECT_EQ(pointInPoly(5, 5, nullptr, 4), 0);
    EXPECT_EQ(pointInPoly(5, 5, square.data(), 1), 0);
    std::vector<dPOINT> circle(1000);
    for (int i = 0; i < 1000; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / 1000;
        circle[i] = {100 * std::cos(angle), 100 * std::sin(angle)};
    }
    EXPECT_EQ(pointInPoly(99.9, 0.05, circle.data(), 1000), 1);
    EXPECT_EQ(pointInPoly(100.1, 0.05, circle.data(), 1000), 0);
    EXPECT_EQ(pointInPoly(-71, 71, circle.data(), 1000), 0);
}

} // namespace
