#include "report/form_report.h"

#include "report/cell_fit.h"

namespace quvela::report {
namespace {

void place(const ReportBand &band, double left, double top, RenderedPage &page)
{
    for (ReportLabel label : band.labels()) {
        label.x += left;
        label.y += top;
        if (label.autoWidth)
            label.width = textWidthMm(label.text, label.sizePt);
        page.labels.push_back(std::move(label));
    }
    for (RuledLine line : band.lines()) {
        line.x1 += left;
        line.x2 += left;
        line.y1 += top;
        line.y2 += top;
        page.lines.push_back(line);
    }
}

} // namespace

FormReport::FormReport()
    : m_titleBand("TitleBand1", 161.9, 13.5), m_formBand("ColumnHeaderBand1", 161.9, 222.2)
{
}

RenderedPage FormReport::run()
{
    bool moreData = true;
    if (m_needData)
        m_needData(moreData);
    RenderedPage page = render();
    moreData = false;
    if (m_needData)
        m_needData(moreData);
    return page;
}

RenderedPage FormReport::render() const
{
    RenderedPage page;
    page.widthMm = m_page.widthMm;
    page.heightMm = m_page.heightMm;
    const double left = m_page.margins.left;
    const double top = m_page.margins.top;
    place(m_titleBand, left, top, page);
    place(m_formBand, left, top + m_titleBand.height(), page);
    fitLabelsToCells(page);
    return page;
}

} // namespace quvela::report
