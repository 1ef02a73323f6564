// How a roster tool window serves its print runs: its preview window, the printer, the
// status line.
#pragma once

#include "preview/printer_page_sink.h"
#include "roster_tools/roster_report_run.h"

#include <QPointer>

class QMainWindow;

namespace quvela {
class Prompts;
}

namespace quvela::roster {

class RosterWindowReportHost final : public RosterReportHost
{
public:
    // currentRow is the window's CurrentRow. The window may go away during a preview;
    // what is gone is left alone.
    RosterWindowReportHost(QMainWindow &window, Prompts &prompts, int &currentRow);

    bool raiseOpenPreview() override;
    void setCurrentRow(int row) override;
    // The preview window is made only when there is a page to show, so that a range
    // without a flagged row leaves no hidden window that a later 预览 would bring up empty.
    void preview(const report::PageStore &pages) override;
    void print(const report::RenderedPage &page) override;
    void nothingFlagged(const GbkString &status) override;

private:
    QPointer<QMainWindow> m_window;
    Prompts &m_prompts;
    int &m_currentRow;
    preview::PrinterPageSink m_printer;
};

} // namespace quvela::roster
