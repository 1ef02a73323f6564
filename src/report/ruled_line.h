// A ruled line of a form: a thin rectangle.
#pragma once

namespace quvela::report {

// From (x1, y1) to (x2, y2), in millimetres; the stroke lies right of a vertical line
// and below a horizontal one, so a frame drawn at its inner edges meets at the corners.
struct RuledLine
{
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    double width = 0;
};

} // namespace quvela::report
