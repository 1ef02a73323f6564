// The JG tool's rules for the print driver of the workbook-driven tools.
#pragma once

#include "common/settings_records.h"
#include "jg/jg_form.h"
#include "roster_tools/roster_report_run.h"

namespace quvela::jg {

// Rows flagged in column 26 (Z); one TJgPrnForm per row, released once its page is made.
class JgForms final : public roster::RosterForms
{
public:
    // widthText stands for the window's width box, read at every form; the record is the
    // one loaded when the window was created and must outlive this object.
    explicit JgForms(TJgPrnForm::WidthText widthText, const TJgcs &settings = jgcs);
    JgForms(TJgPrnForm::WidthText, const TJgcs &&) = delete;

    int flagColumn() const override { return column::PrintFlag; }
    report::RenderedPage formPage(const spreadsheet::SpreadsheetSession &sheet, int row) override;

private:
    TJgPrnForm::WidthText m_widthText;
    const TJgcs &m_settings;
};

} // namespace quvela::jg
