// The print/preview driver of the XJ tool window: one form per row of the roster table.
#pragma once

#include "common/settings_records.h"
#include "report/rendered_page.h"
#include "xj/xj_record.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quvela::xj {

enum class ReportMode { Preview, Print };

// What the driver needs of the window that runs it.
class XjReportHost
{
public:
    virtual ~XjReportHost() = default;
    // The grid stops following the table while the forms are made, and follows it again
    // afterwards, however the run ends.
    virtual void suspendDisplay() = 0;
    virtual void resumeDisplay() = 0;
    // Shows the pages in the preview window; returns when that window has closed.
    virtual void preview(const report::PageStore &pages) = 0;
    // One print job of one page. Throws QuvelaError when printing fails.
    virtual void print(const report::RenderedPage &page) = 0;
};

// Rows offset .. offset + limit - 1 of the table in table order, fewer at its end.
using XjRowReader = std::function<std::vector<XjRecord>(int64_t offset, int64_t limit)>;

// Print mode: every row in table order, one form and one print job each. Preview mode:
// the first row's form only. An empty table makes nothing and says nothing. Errors of
// the table or the output propagate after the display has been resumed. Returns the
// number of forms made.
int RunFormReport(ReportMode mode, const XjRowReader &rows, XjReportHost &host,
                  const TXtcs &settings = xjcs);

} // namespace quvela::xj
