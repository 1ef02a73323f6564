// A banded one-page report: the page header band and the form band, filled by a handler.
#pragma once

#include "report/page_setup.h"
#include "report/rendered_page.h"
#include "report/report_band.h"

#include <functional>

namespace quvela::report {

class FormReport
{
public:
    // Called before the bands are rendered with moreData set, and once more after the
    // page with it cleared. A handler may leave the flag alone; the run yields one page
    // whatever it does.
    using NeedData = std::function<void(bool &moreData)>;

    FormReport();

    PageSetup &page() { return m_page; }
    const PageSetup &page() const { return m_page; }
    ReportBand &titleBand() { return m_titleBand; }
    const ReportBand &titleBand() const { return m_titleBand; }
    ReportBand &formBand() { return m_formBand; }
    const ReportBand &formBand() const { return m_formBand; }

    void setNeedData(NeedData handler) { m_needData = std::move(handler); }

    // One run: fill, render, fill again. The form band is placed directly under the
    // title band even where it runs past the bottom margin; the forms rely on that.
    RenderedPage run();

    // The bands as they stand, placed under the current margins, each label fitted into
    // its cell (fitLabelsToCells).
    RenderedPage render() const;

private:
    PageSetup m_page;
    ReportBand m_titleBand;
    ReportBand m_formBand;
    NeedData m_needData;
};

} // namespace quvela::report
