// How the XJ tool window serves its form runs: its grid, its preview window, the printer.
#pragma once

#include "preview/printer_page_sink.h"
#include "xj/xj_report_run.h"

#include <QPointer>

namespace quvela::widgets {
class DataGrid;
}

namespace quvela::preview {
class TFormKampreview;
}

namespace quvela::xj {

class XjWindowReportHost final : public XjReportHost
{
public:
    // Either may be null or go away during the run; what is gone is left alone.
    XjWindowReportHost(widgets::DataGrid *grid, preview::TFormKampreview *previewWindow);

    void suspendDisplay() override;
    void resumeDisplay() override;
    void preview(const report::PageStore &pages) override;
    void print(const report::RenderedPage &page) override;

private:
    QPointer<widgets::DataGrid> m_grid;
    QPointer<preview::TFormKampreview> m_preview;
    preview::PrinterPageSink m_printer;
};

} // namespace quvela::xj
