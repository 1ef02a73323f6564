// The JB approval form: one report per roster row, filled from the row's cells, the
// settings of the mode and the wording width of the window.
#pragma once

#include "common/settings_records.h"
#include "common/staff_category.h"
#include "report/form_report.h"

namespace quvela::spreadsheet {
class SpreadsheetSession;
}

namespace quvela::jb {

// The print-flag column of both roster layouts, 1-based.
inline constexpr int kPrintFlagColumn = 22;

// One instance per form: every form starts from the design layout, so a worker's
// amounts moved into the workers' column never carry over to the next person.
class TJbPrnForm
{
public:
    // The sheet must stay open until the form has run; the cells of currentRow are read
    // when the report runs, and so are the settings (the tool's record as its window
    // loaded it). widthText is the text of the window's width box as it stood when the
    // form was made; one that is not an integer stops the form.
    TJbPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, GbkString widthText,
               const TJbcs &settings = jbcs);
    // The form keeps a reference to the settings: a temporary record would dangle.
    TJbPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, GbkString widthText,
               const TJbcs &&settings) = delete;
    // The report's fill handler points back at this form.
    TJbPrnForm(const TJbPrnForm &) = delete;
    TJbPrnForm &operator=(const TJbPrnForm &) = delete;

    report::FormReport &qrJBGZ() { return m_report; }
    int CurrentRow() const { return m_row; }

    // One run of the report: fill, render, fill again; the page. Throws ConversionError
    // for a cell read as an integer that holds other text, or a width that is no integer.
    report::RenderedPage run() { return m_report.run(); }

private:
    void FormCreate();
    void qrJBGZNeedData(bool &moreData);
    GbkString fillNormalStep(int32_t year);
    GbkString fillRolling(int32_t year);
    GbkString text(int column) const;
    int32_t integer(int column) const;
    void set(const char *label, GbkString value);

    const spreadsheet::SpreadsheetSession &m_sheet;
    int m_row;
    GbkString m_widthText;
    const TJbcs &m_settings;
    report::FormReport m_report;
};

} // namespace quvela::jb
