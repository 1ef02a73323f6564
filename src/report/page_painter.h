// The one drawing routine of a form page, used by the printer, the preview, PDF and PNG.
#pragma once

#include "report/rendered_page.h"

class QPainter;

namespace quvela::report {

// Draws the page with its top-left corner at the painter's origin, dotsPerMm device
// units to the millimetre. Font sizes follow the same scale whatever resolution the
// painter's device reports, so a page looks the same on every output.
void paintPage(QPainter &painter, const RenderedPage &page, double dotsPerMm);

} // namespace quvela::report
