#include "report/cell_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quvela::report {
namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
// The rules stand on the form's 96 dpi design grid while labels stand where the form
// quotes them, so a label placed on a rule, or a rule ending at a label's edge, may be up
// to half a grid pixel off; within that the label counts as right of the rule, and the
// rule as not spanning its line.
constexpr double kEpsilon = 25.4 / 96 / 2 + 0.001;

bool leftAnchored(const ReportLabel &l)
{
    // An automatic-width label grows from its left edge whatever its alignment.
    return l.autoWidth || l.align == Align::Left;
}

double anchorMm(const ReportLabel &l)
{
    if (leftAnchored(l))
        return l.x + kEpsilon;
    if (l.align == Align::Right)
        return l.x + l.width - kEpsilon;
    return l.x + l.width / 2;
}

bool isVertical(const RuledLine &r) { return r.x1 == r.x2 && r.y2 > r.y1; }

void findCell(ReportLabel &l, const RenderedPage &page)
{
    const double p = anchorMm(l);
    const double top = l.y + kEpsilon;
    const double bottom = l.y + std::max(l.height, 2 * kEpsilon) - kEpsilon;
    const RuledLine *left = nullptr;
    const RuledLine *right = nullptr;
    const RuledLine *outerLeft = nullptr;
    const RuledLine *outerRight = nullptr;
    for (const RuledLine &r : page.lines) {
        if (!isVertical(r))
            continue;
        if (r.x1 < p && (!outerLeft || r.x1 < outerLeft->x1))
            outerLeft = &r;
        if (r.x1 >= p && (!outerRight || r.x1 > outerRight->x1))
            outerRight = &r;
        if (r.y1 >= bottom || r.y2 <= top)
            continue; // does not span the label's line
        if (r.x1 < p && (!left || r.x1 > left->x1))
            left = &r;
        if (r.x1 >= p && (!right || r.x1 < right->x1))
            right = &r;
    }
    if (!left)
        left = outerLeft;
    if (!right)
        right = outerRight;
    // A rule's stroke lies right of its x: the cell starts where the left stroke ends.
    l.cellX1 = left ? left->x1 + left->width : 0;
    l.cellX2 = right ? right->x1 : page.widthMm;
}

} // namespace

double cellRoomMm(const ReportLabel &l)
{
    if (l.cellX2 <= l.cellX1)
        return std::numeric_limits<double>::infinity();
    if (leftAnchored(l))
        return l.cellX2 - l.x;
    if (l.align == Align::Right)
        return l.x + l.width - l.cellX1;
    const double centre = l.x + l.width / 2;
    return 2 * std::min(centre - l.cellX1, l.cellX2 - centre);
}

void fitLabelsToCells(RenderedPage &page)
{
    for (ReportLabel &l : page.labels) {
        findCell(l, page);
        l.stretch = 1;
        l.shrink = 1;
        if (!l.fitToCell || l.text.empty())
            continue;
        const double natural = textWidthMm(l.text, l.sizePt);
        const double room = cellRoomMm(l);
        if (natural <= room || room <= 0)
            continue;
        const double clearance = leftAnchored(l) || l.align == Align::Right ? kCellClearanceMm : 2 * kCellClearanceMm;
        // In a cell hardly wider than its clearance the text takes half the room instead.
        const double target = std::max(room - clearance, room / 2);
        const double scale = target / natural;
        if (scale >= kLegibleStretch) {
            l.stretch = scale;
        } else {
            l.stretch = kLegibleStretch;
            l.shrink = scale / kLegibleStretch;
        }
    }
}

double drawnSizePt(const ReportLabel &l) { return l.sizePt * l.shrink; }

double drawnWidthMm(const ReportLabel &l) { return textWidthMm(l.text, drawnSizePt(l)) * l.stretch; }

bool isFitted(const ReportLabel &l) { return l.stretch < 1 || l.shrink < 1; }

double drawnLeftMm(const ReportLabel &l, double drawnWidth)
{
    if (l.align == Align::Left || (l.autoWidth && isFitted(l)))
        return l.x;
    const double free = l.width - drawnWidth;
    return l.x + (l.align == Align::Center ? free / 2 : free);
}

double drawnTopMm(const ReportLabel &l)
{
    return l.y + (l.sizePt - drawnSizePt(l)) * kMmPerPoint / 2;
}

} // namespace quvela::report
