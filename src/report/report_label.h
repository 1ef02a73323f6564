// A single-line text label of a report band.
#pragma once

#include "common/gbk.h"

#include <string>

namespace quvela::report {

enum class Align { Left, Center, Right };

// Positions and sizes in millimetres from the top-left corner of the band (of the paper
// once the page is rendered). A right-aligned label ends at x + width; an auto-width
// label takes the width of its text when the page is rendered.
struct ReportLabel
{
    std::string name;        // component name, ASCII
    GbkString text;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    GbkString font;          // family as the form names it ("宋体", "黑体", "Arial")
    double sizePt = 10;
    bool bold = false;
    bool underline = false;
    Align align = Align::Left;
    bool autoWidth = false;

    // A data label keeps its text inside its cell, however long the value (see
    // fitLabelsToCells); captions are drawn as the form designs them.
    bool fitToCell = false;
    // Set when the page is rendered, paper millimetres: the cell, between the inner edges
    // of the rules around the label (cellX2 <= cellX1 on a page nobody fitted), and how
    // the text is drawn there: the horizontal scale of its face and its size as a
    // fraction of sizePt. Both stay 1 for a text that fits.
    double cellX1 = 0;
    double cellX2 = 0;
    double stretch = 1;
    double shrink = 1;
};

// Width of a text at a size, as the forms were designed: every GBK byte takes half an
// em, the way the Song face of the forms sets Latin letters at half the width of a
// Chinese character. Fixed here so that layout never depends on the installed fonts.
double textWidthMm(const GbkString &text, double sizePt);

} // namespace quvela::report
