// Plane geometry tests for the host's drawings, and its short colour table.
#pragma once

#include "platform/win32.h"

// A plane point, x then y; polygons are contiguous arrays of them.
struct dPOINT {
    double x;
    double y;
};

// Colour n of the 14-colour drawing table (COLORREF: red in the lowest byte,
// blue in the third; the half-intensity colours use 127). Indexes outside 0
// to 13 give black.
//   0 black        1 dark blue    2 dark green   3 dark cyan    4 dark red
//   5 dark magenta 6 dark yellow  7 grey         8 blue         9 green
//   10 cyan        11 red         12 magenta     13 yellow
JX_API unsigned long get_40_clrref(int index);

// Whether the segment (x3, y3)-(x4, y4) touches the rectangle with corners
// (x1, y1) and (x2, y2): an end point inside it or on its border, or a
// crossing strictly inside one of its edges.
JX_API bool line_in_rect(double x1, double y1, double x2, double y2, double x3, double y3,
                         double x4, double y4);

// 1 when (x, y) lies inside the polygon of n vertices (closed from the last
// vertex back to the first), else 0. Fewer than one vertex is no polygon.
JX_API int pointInPoly(double x, double y, dPOINT* polygon, int n);

// Where segment a-b crosses segment u-v, as the fraction of the way from a
// to b, strictly between 0 and 1; 0 when they do not cross, touch only at an
// end point, or are parallel.
JX_API double LineSegIntersect(dPOINT a, dPOINT b, dPOINT u, dPOINT v);
