// Segments, rectangles, polygons and the colour table.
#include "geo/plane_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <tuple>

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// COLORREF is 0x00BBGGRR, and the half intensity is 0x7F, not 0x80.
TEST(Get40Clrref, TheFourteenColoursAndBlackOutsideThem) {
    const unsigned long colours[14] = {0x000000, 0x7F0000, 0x007F00, 0x7F7F00, 0x00007F,
                                       0x7F007F, 0x007F7F, 0x7F7F7F, 0xFF0000, 0x00FF00,
                                       0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF};
    for (int index : {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, INT_MAX})
        EXPECT_EQ(get_40_clrref(index), index >= 0 && index < 14 ? colours[index] : 0) << index;
}

// Segments U-V against (0,0)-(2,0): ends touching, parallel and collinear
// segments and NaN give 0; crossings just inside both segments still count.
TEST(Segments, CrossingsAndRectangles) {
    const std::tuple<double, double, double, double, double> cases[] = {
        {1, -1, 1, 1, 0.5}, {2, -1, 2, 1, 0}, {1, -1, 1, 0, 0},  {1.999, -1, 1.999, 0.001, 0.9995},
        {0, 1, 2, 1, 0},    {-1, 0, 3, 0, 0}, {1, kNaN, 1, 1, 0}};
    for (const auto& [ux, uy, vx, vy, fraction] : cases)
        EXPECT_DOUBLE_EQ(LineSegIntersect({0, 0}, {2, 0}, {ux, uy}, {vx, vy}), fraction) << ux;
    EXPECT_DOUBLE_EQ(LineSegIntersect({4, 0}, {0, 0}, {1, -1}, {1, 3}), 0.75);

    // Against the rectangle (0,0)-(10,10), its corners named either way
    // round, each segment in both directions: through both sides, an end on
    // a corner, along an edge, in through y = 0 and out through a corner,
    // meeting a corner only, just inside and just outside a corner, through
    // two opposite corners (no edge crossed strictly inside), NaN.
    const std::tuple<double, double, double, double, bool> rectangle_cases[] = {
        {-5, 5, 15, 5, true},          {10, 10, 20, 20, true},    {-5, 0, 15, 0, false},
        {7, -3, 13, 23, true},         {-1, 9, 1, 11, false},     {-1, 8.999, 1, 10.999, true},
        {-1, 9.001, 1, 11.001, false}, {-10, 20, 20, -10, false}, {kNaN, kNaN, kNaN, kNaN, false}};
    for (const auto& [x3, y3, x4, y4, touches] : rectangle_cases) {
        EXPECT_EQ(line_in_rect(10, 0, 0, 10, x3, y3, x4, y4), touches) << x3 << "," << y3;
        EXPECT_EQ(line_in_rect(0, 10, 10, 0, x4, y4, x3, y3), touches) << x3 << "," << y3;
    }
}

// On the border the bottom and left edges belong to the square, the top and
// right edges do not, whichever way round the square is listed. A vertex at
// the point's height counts once: the ray from (0,0) through the diamond's
// vertex (5,0), the ray under a notch whose tip (2,0) touches it, collinear
// vertices along the edges. A polygon without vertices holds nothing.
TEST(PointInPoly, BordersAndVerticesAtThePointsHeight) {
    dPOINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    dPOINT clockwise[] = {{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    const std::tuple<double, double, int> cases[] = {
        {5, 5, 1},  {15, 5, 0}, {0, 5, 1},   {10, 5, 0}, {5, 0, 1},
        {5, 10, 0}, {0, 0, 1},  {10, 10, 0}, {-5, 0, 0}, {kNaN, kNaN, 0}};
    for (const auto& [x, y, inside] : cases) {
        EXPECT_EQ(pointInPoly(x, y, square, 4), inside) << x << "," << y;
        EXPECT_EQ(pointInPoly(x, y, clockwise, 4), inside) << x << "," << y;
    }
    dPOINT diamond[] = {{0, -5}, {5, 0}, {0, 5}, {-5, 0}};
    dPOINT crown[] = {{-10, -10}, {10, -10}, {10, 5}, {4, 5}, {2, 0}, {0, 5}, {-10, 5}};
    dPOINT collinear[] = {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}, {0, 5}};
    const std::tuple<dPOINT*, int, double, double, int> shapes[] = {
        {diamond, 4, 0, 0, 1},   {crown, 7, -5, 0, 1}, {collinear, 7, 5, 5, 1},
        {collinear, 7, 5, 0, 1}, {square, 0, 5, 5, 0}, {nullptr, 4, 5, 5, 0}};
    for (const auto& [polygon, vertices, x, y, inside] : shapes)
        EXPECT_EQ(pointInPoly(x, y, polygon, vertices), inside) << x << "," << y;
}
