// Form pages as images.
#pragma once

#include "report/rendered_page.h"

#include <QImage>
#include <QString>

namespace quvela::report {

// The page at the resolution given in dots per inch, on white.
QImage renderPageImage(const RenderedPage &page, double dpi);

// Writes the page as a PNG file, replacing it atomically. Throws QuvelaError.
void writePng(const RenderedPage &page, const QString &fileName, double dpi);

} // namespace quvela::report
