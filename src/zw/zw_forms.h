// The ZW tool's rules for the shared print driver: the print flag in the column of
// field 26 and one TZwPrnForm per flagged row, through the column map parsed afresh for
// every run.
#pragma once

#include "common/settings_records.h"
#include "roster_tools/roster_report_run.h"
#include "zw/zw_form.h"

#include <vector>

namespace quvela::zw {

class ZwForms final : public roster::RosterForms
{
public:
    // The settings and whatever the width callback reads must outlive the run.
    ZwForms(TZwPrnForm::WidthText widthText, const TZwcs &settings = zwcs);
    ZwForms(TZwPrnForm::WidthText, const TZwcs &&) = delete;

    // LoadColumnMap: a piece that is not a number stops the run before any row is read.
    void prepare() override;
    int flagColumn() const override;
    report::RenderedPage formPage(const spreadsheet::SpreadsheetSession &sheet, int row) override;

    // ZwCol as the last prepare() parsed it.
    const std::vector<int> &columns() const { return m_zwCol; }

private:
    TZwPrnForm::WidthText m_widthText;
    const TZwcs &m_settings;
    std::vector<int> m_zwCol;
};

} // namespace quvela::zw
