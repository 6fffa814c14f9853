// Segment, rectangle and polygon tests, and the drawing colours.
#include "plane_geometry.h"

namespace {

// COLORREF values: 0x00BBGGRR.
constexpr unsigned long kColours[14] = {
    0x000000, 0x7F0000, 0x007F00, 0x7F7F00, 0x00007F, 0x7F007F, 0x007F7F,
    0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF,
};

bool strictly_inside(double fraction) {
    return fraction > 0.0 && fraction < 1.0;
}

// Whether the segment crosses the edge at `edge` (a line of constant first
// coordinate, running from `from` to `to` in the second). Coordinates are
// passed as (first, second) so one test serves vertical and horizontal edges.
bool crosses_edge(double edge, double from, double to, double a1, double a2, double b1, double b2) {
    const double along = b1 - a1;
    if (along == 0.0 || to == from) return false; // parallel, or no edge at all
    const double t = (edge - a1) / along;
    if (!strictly_inside(t)) return false;
    const double crossing = a2 + t * (b2 - a2);
    return strictly_inside((crossing - from) / (to - from));
}

} // namespace

unsigned long get_40_clrref(int index) {
    if (index < 0 || index >= 14) return 0;
    return kColours[index];
}

// Corners given the wrong way round are put in order first: the rectangle is
// the same rectangle whichever corners the caller names.
//
// End points on the border count, crossings count only strictly inside an
// edge, so a segment that meets the rectangle at a corner alone does not
// touch it. The host's results are kept exactly as they have always been,
// including one they imply: a segment running straight through two opposite
// corners crosses no edge strictly inside and so does not count either.
bool line_in_rect(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                  double y4) {
    if (x1 > x2) {
        const double swap = x1;
        x1 = x2;
        x2 = swap;
    }
    if (y1 > y2) {
        const double swap = y1;
        y1 = y2;
        y2 = swap;
    }
    if (x1 <= x4 && x4 <= x2 && y1 <= y4 && y4 <= y2) return true;
    if (x1 <= x3 && x3 <= x2 && y1 <= y3 && y3 <= y2) return true;
    return crosses_edge(x1, y2, y1, x3, y3, x4, y4) || crosses_edge(x2, y2, y1, x3, y3, x4, y4) ||
           crosses_edge(y2, x1, x2, y3, x3, y4, x4) || crosses_edge(y1, x1, x2, y3, x3, y4, x4);
}

// A ray toward increasing x counts the edges it crosses. Each edge spans its
// heights half-open, so a vertex exactly at the point's height is counted
// for one of its two edges only, and horizontal edges never count.
int pointInPoly(double x, double y, dPOINT* polygon, int n) {
    if (!polygon || n < 1) return 0;
    int crossings = 0;
    double xp = polygon[n - 1].x;
    double yp = polygon[n - 1].y;
    for (int i = 0; i < n; ++i) {
        const double xi = polygon[i].x;
        const double yi = polygon[i].y;
        if ((yi <= y && y < yp) || (yp <= y && y < yi)) {
            if ((xp - xi) * (y - yi) / (yp - yi) + xi > x) ++crossings;
        }
        xp = xi;
        yp = yi;
    }
    return crossings % 2;
}

// Parallel and collinear segments (a zero determinant) cross nowhere; the
// test is made before the division rather than left to an infinite quotient.
double LineSegIntersect(dPOINT a, dPOINT b, dPOINT u, dPOINT v) {
    const double d = (v.y - u.y) * (b.x - a.x) - (v.x - u.x) * (b.y - a.y);
    if (d == 0.0) return 0.0;
    const double ua = ((a.y - u.y) * (v.x - u.x) - (a.x - u.x) * (v.y - u.y)) / d;
    if (!strictly_inside(ua)) return 0.0;
    const double ub = ((a.y - u.y) * (b.x - a.x) - (a.x - u.x) * (b.y - a.y)) / d;
    if (!strictly_inside(ub)) return 0.0;
    return ua;
}
