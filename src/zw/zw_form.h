// The ZW approval form: one report per flagged roster row, filled from that row's cells
// through the ZW column map.
#pragma once

#include "common/settings_records.h"
#include "report/form_report.h"

#include <functional>
#include <vector>

namespace quvela::spreadsheet {
class SpreadsheetSession;
}

namespace quvela::zw {

// One instance per form. The session, the column table, the settings and whatever the
// width callback reads must outlive it.
class TZwPrnForm
{
public:
    // The current text of the window's wording-width box, asked at every fill.
    using WidthText = std::function<GbkString()>;

    // zwCol: the worksheet column of fields 1..31 (element 0 is field 1).
    TZwPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, const std::vector<int> &zwCol,
               WidthText widthText, const TZwcs &settings = zwcs);
    TZwPrnForm(const spreadsheet::SpreadsheetSession &, int, const std::vector<int> &, WidthText,
               const TZwcs &&) = delete;
    // The report's fill handler points back at this form.
    TZwPrnForm(const TZwPrnForm &) = delete;
    TZwPrnForm &operator=(const TZwPrnForm &) = delete;

    report::FormReport &qrZWGZ() { return m_report; }

    // One run of the report: fill, render, fill again; the page. Every fill reads the
    // cells afresh. Throws ConversionError for an empty or non-numeric width or a
    // current-post date whose year or month is not a number; QuvelaError for a cell
    // outside the sheet.
    report::RenderedPage run() { return m_report.run(); }

private:
    void FormCreate();
    void qrZWGZNeedData(bool &moreData);
    GbkString cell(int field) const;

    const spreadsheet::SpreadsheetSession &m_sheet;
    int m_row;
    const std::vector<int> &m_zwCol;
    WidthText m_widthText;
    const TZwcs &m_settings;
    report::FormReport m_report;
};

} // namespace quvela::zw
