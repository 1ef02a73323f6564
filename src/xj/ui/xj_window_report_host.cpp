#include "xj/ui/xj_window_report_host.h"

#include "preview/form_kampreview.h"
#include "widgets/data_grid.h"

namespace quvela::xj {

XjWindowReportHost::XjWindowReportHost(widgets::DataGrid *grid, preview::TFormKampreview *previewWindow)
    : m_grid(grid)
    , m_preview(previewWindow)
{
}

void XjWindowReportHost::suspendDisplay()
{
    if (m_grid)
        m_grid->suspend();
}

void XjWindowReportHost::resumeDisplay()
{
    if (m_grid)
        m_grid->resume();
}

void XjWindowReportHost::preview(const report::PageStore &pages)
{
    if (m_preview)
        preview::previewPages(*m_preview, pages);
}

void XjWindowReportHost::print(const report::RenderedPage &page)
{
    m_printer.printJob(page);
}

} // namespace quvela::xj
