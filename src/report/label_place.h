// Where a form puts one of its data labels, and the routine that lays out a table of them.
#pragma once

#include "report/report_band.h"

#include <span>

namespace quvela::report {

// Millimetres from the form band's corner.
struct LabelPlace
{
    const char *name;
    double x;
    double y;
    double width; // 0: the label takes the width of its text
    Align align;
};

// Adds one empty data label (see dataLabel) per place, in the table's order.
void addDataLabels(ReportBand &band, std::span<const LabelPlace> places);

} // namespace quvela::report
