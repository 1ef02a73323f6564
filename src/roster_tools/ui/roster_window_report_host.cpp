#include "roster_tools/ui/roster_window_report_host.h"

#include "preview/form_kampreview.h"

#include <QMainWindow>
#include <QStatusBar>

namespace quvela::roster {

RosterWindowReportHost::RosterWindowReportHost(QMainWindow &window, Prompts &prompts, int &currentRow)
    : m_window(&window)
    , m_prompts(prompts)
    , m_currentRow(currentRow)
{
}

bool RosterWindowReportHost::raiseOpenPreview()
{
    if (!m_window)
        return false;
    preview::TFormKampreview *open = preview::findPreviewWindow(*m_window);
    if (!open)
        return false;
    open->showPreview();
    return true;
}

void RosterWindowReportHost::setCurrentRow(int row)
{
    if (m_window)
        m_currentRow = row;
}

void RosterWindowReportHost::preview(const report::PageStore &pages)
{
    if (!m_window)
        return;
    auto *window = new preview::TFormKampreview(m_prompts, m_window.data());
    preview::previewPages(*window, pages);
}

void RosterWindowReportHost::print(const report::RenderedPage &page)
{
    m_printer.printJob(page);
}

void RosterWindowReportHost::nothingFlagged(const GbkString &status)
{
    if (m_window)
        m_window->statusBar()->showMessage(gbk::toQString(status));
}

} // namespace quvela::roster
