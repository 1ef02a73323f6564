// One rendered page: every label and line placed on the paper.
#pragma once

#include "report/report_label.h"
#include "report/ruled_line.h"

#include <vector>

namespace quvela::report {

// Positions are millimetres from the paper's top-left corner, margins and band offsets
// included; auto-width labels carry the width of their text.
struct RenderedPage
{
    double widthMm = 182;
    double heightMm = 257;
    std::vector<ReportLabel> labels;
    std::vector<RuledLine> lines;
};

} // namespace quvela::report

namespace quvela::report {

// The pages of one report run as the preview and the exports hand them around.
using PageStore = std::vector<RenderedPage>;

} // namespace quvela::report
