// Keeping the values of a form inside their cells: an official form may not have a post
// name run across a rule or off the paper, nor lose a character of it.
#pragma once

#include "report/rendered_page.h"

namespace quvela::report {

// A text too wide for its cell is first condensed, down to this horizontal scale of its
// face: 60 %, the narrowest of the condensed widths Chinese typesetting uses for Song
// faces (长一 to 长四, 90 % to 60 %); narrower, the strokes of a character run together.
// Past it the text keeps that scale and is set smaller instead.
inline constexpr double kLegibleStretch = 0.6;

// A fitted text ends this far inside the rules, so that it does not touch them.
inline constexpr double kCellClearanceMm = 0.5;

// Contract, applied by FormReport::render() to every page it renders, so a form gets it by
// building its data labels with dataLabel() and nothing more; labels it moves, realigns or
// switches to automatic width before the page is rendered are fitted where they then stand.
//
// Every label gets its cell: the inner edges of the nearest vertical rules left and right
// of its anchor among the rules that span its line (its box from y to y + height); where no
// rule spans the line on a side, the outermost rule of the page on that side (a line under
// the frame keeps to the frame's width), else the paper's edge. The anchor is where the
// text is tied: its left edge for a left-aligned or an automatic-width label, its right
// end for a right-aligned one, its centre for a centred one.
//
// A label with fitToCell whose text (at textWidthMm) is wider than the room between its
// anchor and the cell's edges is condensed to end kCellClearanceMm inside them, and past
// kLegibleStretch set smaller as well; it stays tied to its anchor and its line keeps its
// middle where the designed size puts it. A text that fits keeps stretch and shrink 1 and
// is drawn exactly as designed.
void fitLabelsToCells(RenderedPage &page);

// How a rendered label is drawn, from its fit: the size, the width (textWidthMm at that
// size, condensed), the left edge of a text of the given drawn width, and the top of the
// text line.
double drawnSizePt(const ReportLabel &label);
double drawnWidthMm(const ReportLabel &label);
double drawnLeftMm(const ReportLabel &label, double drawnWidth);
double drawnTopMm(const ReportLabel &label);

// True when the fit condensed or shrank the text.
bool isFitted(const ReportLabel &label);

// The widest text that stays inside the cell from the label's anchor; unbounded on a page
// whose labels were never fitted.
double cellRoomMm(const ReportLabel &label);

} // namespace quvela::report
