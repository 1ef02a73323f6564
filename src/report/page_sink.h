// Where rendered pages go: a printer, a file, the preview, a test recorder.
#pragma once

#include "report/rendered_page.h"

namespace quvela::report {

class PageSink
{
public:
    virtual ~PageSink() = default;
    // One print job of one page. Throws QuvelaError when the output fails.
    virtual void printJob(const RenderedPage &page) = 0;
};

} // namespace quvela::report
