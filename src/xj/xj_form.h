// The XJ approval form: one report per roster row, filled from the row and the settings.
#pragma once

#include "common/settings_records.h"
#include "report/form_report.h"
#include "xj/xj_record.h"

namespace quvela::xj {

// One instance per record: created, filled by its report run, printed or previewed once.
// The wording labels start as templates and the fill consumes their placeholders, so a
// second fill of the same form leaves the wording as the first one made it.
class TXjPrnForm
{
public:
    // The settings are read when the report runs, not copied: the tool's record as it
    // was loaded when its window was created.
    explicit TXjPrnForm(XjRecord row, const TXtcs &settings = xjcs);
    // The form keeps a reference to the settings: a temporary record would dangle.
    TXjPrnForm(XjRecord row, const TXtcs &&settings) = delete;
    // The report's fill handler points back at this form.
    TXjPrnForm(const TXjPrnForm &) = delete;
    TXjPrnForm &operator=(const TXjPrnForm &) = delete;

    report::FormReport &qrXJGZ() { return m_report; }
    const XjRecord &row() const { return m_row; }

    // One run of the report: fill, render, fill again; the page.
    report::RenderedPage run() { return m_report.run(); }

    // The staff-category text printed before the post grade: "1" 职员, "2" 专技,
    // "3" 技工, "4" 普工, anything else nothing.
    static GbkString categoryText(int32_t zwlb);

private:
    void FormCreate();
    void qrXJGZNeedData(bool &moreData);

    XjRecord m_row;
    const TXtcs &m_settings;
    report::FormReport m_report;
    bool m_wordingFilled = false;
};

} // namespace quvela::xj
