// The opinion wording of the four-line forms, cut into its lines.
#pragma once

#include "common/gbk.h"
#include "report/report_band.h"

#include <array>
#include <string_view>

namespace quvela::report {

// Lines y1 to y4 of a wording set width bytes to a line. The first line is four bytes
// shorter because it starts further right (the paragraph's indent); no line ends inside
// a character, the cut moving before it; everything after the third line goes into the
// fourth however long, since the form has no fifth. A width of 4 or less leaves the first
// line empty, one of 0 or less the first three, and nothing of the text is lost.
std::array<GbkString, 4> breakWordingLines(std::string_view text, int width);

// The wording broken so into the labels y1 to y4 of band.
void fillWordingLines(ReportBand &band, std::string_view text, int width);

} // namespace quvela::report
