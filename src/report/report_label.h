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
};

// Width of a text at a size, as the forms were designed: every GBK byte takes half an
// em, the way the Song face of the forms sets Latin letters at half the width of a
// Chinese character. Fixed here so that layout never depends on the installed fonts.
double textWidthMm(const GbkString &text, double sizePt);

} // namespace quvela::report
