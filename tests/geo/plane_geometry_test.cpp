// Segments, rectangles, polygons and the colour table.
#include "geo/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(Get40Clrref, TableEntriesAndIndexesOutsideIt) {
    const struct {
        int index;
        unsigned long colour;
    } cases[] = {{0, 0x000000}, {1, 0x7F0000},  {4, 0x00007F},       {7, 0x7F7F7F},
                 {8, 0xFF0000}, {11, 0x0000FF}, {13, 0x00FFFF},      {14, 0},
                 {40, 0},       {-1, 0},        {-2147483647 - 1, 0}};
    for (const auto& c : cases) EXPECT_EQ(get_40_clrref(c.index), c.colour) << c.index;
}

TEST(Get40Clrref, HalfIntensityIs127AndEveryColourIsDistinct) {
    for (int i = 0; i < 14; ++i) {
        const unsigned long colour = get_40_clrref(i);
        for (int shift : {0, 8, 16}) {
            const unsigned long component = (colour >> shift) & 0xFF;
            EXPECT_TRUE(component == 0 || component == 0x7F || component == 0xFF) << i;
        }
        EXPECT_EQ(colour >> 24, 0u) << i;
        for (int j = 0; j < i; ++j) EXPECT_NE(get_40_clrref(j), colour) << i << " " << j;
    }
}

struct SegmentCase {
    dPOINT a, b, u, v;
    double fraction;
};

class LineSegIntersectTest : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(LineSegIntersectTest, GivesTheFractionAlongAB) {
    const SegmentCase& c = GetParam();
    EXPECT_DOUBLE_EQ(LineSegIntersect(c.a, c.b, c.u, c.v), c.fraction);
}

INSTANTIATE_TEST_SUITE_P(
    Crossings, LineSegIntersectTest,
    ::testing::Values(SegmentCase{{0, 0}, {2, 0}, {1, -1}, {1, 1}, 0.5},
                      SegmentCase{{0, 0}, {4, 0}, {1, -1}, {1, 3}, 0.25},
                      SegmentCase{{4, 0}, {0, 0}, {1, -1}, {1, 3}, 0.75},
                      SegmentCase{{0, 0}, {10, 10}, {0, 10}, {10, 0}, 0.5},
                      // Touching at an end point of either segment is no crossing.
                      SegmentCase{{0, 0}, {2, 0}, {2, -1}, {2, 1}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {0, -1}, {0, 1}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {1, 0}, {1, 1}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {1, -1}, {1, 0}, 0},
                      // Just inside the end points, on either side.
                      SegmentCase{{0, 0}, {2, 0}, {1.999, -1}, {1.999, 1}, 0.9995},
                      SegmentCase{{0, 0}, {2, 0}, {1, -1}, {1, 0.001}, 0.5},
                      SegmentCase{{0, 0}, {2, 0}, {1, 0.001}, {1, 1}, 0},
                      // Parallel, collinear, overlapping, missing, degenerate.
                      SegmentCase{{0, 0}, {2, 0}, {0, 1}, {2, 1}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {1, 0}, {3, 0}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {-1, 0}, {3, 0}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {3, -1}, {3, 1}, 0},
                      SegmentCase{{1, 1}, {1, 1}, {0, 0}, {2, 2}, 0},
                      SegmentCase{{0, 0}, {2, 0}, {1, 1}, {1, 1}, 0}));

TEST(LineSegIntersectBadInput, NaNCoordinatesCrossNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(LineSegIntersect({0, 0}, {2, 0}, {1, nan}, {1, 1}), 0.0);
    EXPECT_EQ(LineSegIntersect({nan, 0}, {2, 0}, {1, -1}, {1, 1}), 0.0);
}

struct RectCase {
    double x3, y3, x4, y4;
    bool touches;
};

class LineInRect : public ::testing::TestWithParam<RectCase> {};

// The rectangle (0,0)-(10,10).
TEST_P(LineInRect, TouchesTheRectangle) {
    const RectCase& c = GetParam();
    EXPECT_EQ(line_in_rect(0, 0, 10, 10, c.x3, c.y3, c.x4, c.y4), c.touches)
        << "(" << c.x3 << "," << c.y3 << ")-(" << c.x4 << "," << c.y4 << ")";
    // The segment's direction does not matter, nor the order of the corners.
    EXPECT_EQ(line_in_rect(0, 0, 10, 10, c.x4, c.y4, c.x3, c.y3), c.touches);
    EXPECT_EQ(line_in_rect(10, 10, 0, 0, c.x3, c.y3, c.x4, c.y4), c.touches);
    EXPECT_EQ(line_in_rect(0, 10, 10, 0, c.x3, c.y3, c.x4, c.y4), c.touches);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, LineInRect,
    ::testing::Values(RectCase{-5, 5, 15, 5, true},   // through both vertical edges
                      RectCase{5, -5, 5, 15, true},   // through both horizontal edges
                      RectCase{10, 10, 20, 20, true}, // an end point on the corner
                      RectCase{5, 5, 6, 6, true},     // wholly inside
                      RectCase{0, 5, -3, 5, true},    // an end point on an edge
                      RectCase{-5, -1, 15, -1, false},
                      RectCase{-5, 0, 15, 0, false}, // along an edge: no crossing inside
                      RectCase{-5, 10, 15, 10, false},
                      RectCase{7, -3, 13, 23, true}, // in through y = 0, out through a corner
                      RectCase{-1, 8, 2, 11, true},  // clips a corner
                      RectCase{-1, 9.001, 1, 11.001, false}, // passes the corner outside
                      RectCase{-1, 9, 1, 11, false},         // meets the corner only
                      RectCase{-1, 8.999, 1, 10.999, true}, RectCase{-10, 0, 0, -10, false},
                      // Straight through two opposite corners, and beside them.
                      RectCase{-10, 20, 20, -10, true}, RectCase{-10, -10, 20, 20, true},
                      RectCase{-10.0001, 20, 20, -10.0001, true},
                      RectCase{-9.9999, 20, 20, -9.9999, true}, RectCase{-10, 31, 31, -10, false},
                      RectCase{11, 11, 12, 12, false}));

TEST(LineInRectBadInput, NaNTouchesNothingAndDegenerateRectanglesWork) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(line_in_rect(0, 0, 10, 10, nan, nan, nan, nan));
    EXPECT_FALSE(line_in_rect(nan, 0, 10, 10, -5, 5, -4, 5));
    // A rectangle of no height is touched by a point on it and crossed by a
    // segment through it.
    EXPECT_TRUE(line_in_rect(0, 5, 10, 5, 3, 5, 3, 8));
    EXPECT_TRUE(line_in_rect(0, 5, 10, 5, 3, 0, 3, 8));
    EXPECT_FALSE(line_in_rect(0, 5, 10, 5, 3, 6, 3, 8));
}

const std::vector<dPOINT> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

struct PolyCase {
    double x, y;
    int inside;
};

class PointInPoly : public ::testing::TestWithParam<PolyCase> {};

TEST_P(PointInPoly, InTheSquareEitherWayRound) {
    const PolyCase& c = GetParam();
    std::vector<dPOINT> square = kSquare;
    EXPECT_EQ(pointInPoly(c.x, c.y, square.data(), 4), c.inside) << c.x << "," << c.y;
    std::vector<dPOINT> clockwise(square.rbegin(), square.rend());
    EXPECT_EQ(pointInPoly(c.x, c.y, clockwise.data(), 4), c.inside) << c.x << "," << c.y;
}

// Points on the border follow the half-open rule: the bottom and left edges
// belong to the square, the top and right edges do not.
INSTANTIATE_TEST_SUITE_P(
    Square, PointInPoly,
    ::testing::Values(PolyCase{5, 5, 1}, PolyCase{15, 5, 0}, PolyCase{-5, 5, 0}, PolyCase{5, 15, 0},
                      PolyCase{5, -5, 0}, PolyCase{0, 5, 1}, PolyCase{10, 5, 0}, PolyCase{5, 0, 1},
                      PolyCase{5, 10, 0}, PolyCase{0, 0, 1}, PolyCase{10, 10, 0},
                      PolyCase{-5, 0, 0}, PolyCase{-5, 10, 0}, PolyCase{9.999999, 9.999999, 1},
                      PolyCase{10.000001, 5, 0}));

TEST(PointInPolyShapes, VerticesAtThePointsHeightCountOnce) {
    // A diamond: the ray from (0,0) passes exactly through the vertex (5,0).
    std::vector<dPOINT> diamond = {{0, -5}, {5, 0}, {0, 5}, {-5, 0}};
    EXPECT_EQ(pointInPoly(0, 0, diamond.data(), 4), 1);
    EXPECT_EQ(pointInPoly(-6, 0, diamond.data(), 4), 0);
    EXPECT_EQ(pointInPoly(4.9, 0, diamond.data(), 4), 1);
    EXPECT_EQ(pointInPoly(5.1, 0, diamond.data(), 4), 0);
    // A spike touching the ray from above at its tip (2,0) does not count.
    std::vector<dPOINT> crown = {{-10, -10}, {10, -10}, {10, 5}, {4, 5}, {2, 0}, {0, 5}, {-10, 5}};
    EXPECT_EQ(pointInPoly(-5, 0, crown.data(), 7), 1);
    EXPECT_EQ(pointInPoly(2, 1, crown.data(), 7), 0); // in the notch
    EXPECT_EQ(pointInPoly(1, -1, crown.data(), 7), 1);
}

TEST(PointInPolyShapes, ConcaveAndCollinearVertices) {
    // A U shape: the notch is outside.
    std::vector<dPOINT> u = {{0, 0}, {9, 0}, {9, 9}, {6, 9}, {6, 3}, {3, 3}, {3, 9}, {0, 9}};
    EXPECT_EQ(pointInPoly(4.5, 6, u.data(), 8), 0);
    EXPECT_EQ(pointInPoly(1.5, 6, u.data(), 8), 1);
    EXPECT_EQ(pointInPoly(7.5, 6, u.data(), 8), 1);
    EXPECT_EQ(pointInPoly(4.5, 1.5, u.data(), 8), 1);
    // Extra vertices along the edges change nothing.
    std::vector<dPOINT> square = {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}, {0, 5}};
    EXPECT_EQ(pointInPoly(5, 5, square.data(), 7), 1);
    EXPECT_EQ(pointInPoly(5, 0, square.data(), 7), 1);
    EXPECT_EQ(pointInPoly(15, 5, square.data(), 7), 0);
}

TEST(PointInPolyShapes, DegeneratePolygons) {
    std::vector<dPOINT> square = kSquare;
    EXPECT_EQ(pointInPoly(5, 5, square.data(), 0), 0);
    EXPECT_EQ(pointInPoly(5, 5, square.data(), -3), 0);
    EXPECT_EQ(pointInPoly(5, 5, nullptr, 4), 0);
    dPOINT one = {5, 5};
    EXPECT_EQ(pointInPoly(5, 5, &one, 1), 0);
    std::vector<dPOINT> line = {{0, 0}, {10, 10}};
    EXPECT_EQ(pointInPoly(2, 5, line.data(), 2), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(pointInPoly(nan, nan, square.data(), 4), 0);
}

TEST(PointInPolyShapes, ManyVertices) {
    // A circle of 1,000 vertices: points just inside and just outside it.
    std::vector<dPOINT> circle(1000);
    for (int i = 0; i < 1000; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / 1000;
        circle[i] = {100 * std::cos(angle), 100 * std::sin(angle)};
    }
    EXPECT_EQ(pointInPoly(0, 0, circle.data(), 1000), 1);
    EXPECT_EQ(pointInPoly(99.9, 0.05, circle.data(), 1000), 1);
    EXPECT_EQ(pointInPoly(100.1, 0.05, circle.data(), 1000), 0);
    EXPECT_EQ(pointInPoly(-70, 70, circle.data(), 1000), 1);
    EXPECT_EQ(pointInPoly(-71, 71, circle.data(), 1000), 0);
}

} // namespace
