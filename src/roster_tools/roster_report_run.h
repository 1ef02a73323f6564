// The print driver of the workbook-driven tools (ZW, JB, JG): every flagged row of a row
// range of the roster's first worksheet gets one form.
//
// How a tool plugs in:
//  - it implements RosterForms: the print-flag column and the page of one row, read from
//    the open worksheet through `const spreadsheet::SpreadsheetSession &` and a row
//    number (the tool's form class does the reading and the wording);
//  - its window (or the headless command) implements RosterReportHost: the preview
//    window, the printer, the status line;
//  - "预览" / "打印" call RunFormReport with the texts of the row boxes and the stored
//    workbook file.
// The driver opens a new session on the workbook file as saved on disk for every run and
// always ends it, whatever way the run ends.
#pragma once

#include "common/gbk.h"
#include "report/rendered_page.h"

#include <cstdint>

namespace quvela {
class Prompts;
}

namespace quvela::spreadsheet {
class SpreadsheetSession;
}

namespace quvela::roster {

enum class ReportMode { Preview, Print };

// The tool's rules, as its form class gives them.
class RosterForms
{
public:
    virtual ~RosterForms() = default;
    // Called once the workbook is open, before any row is read; what it throws stops the
    // run (the ZW tool parses its column map here).
    virtual void prepare() {}
    // The 1-based worksheet column of the print flag; asked after prepare().
    virtual int flagColumn() const = 0;
    // The filled page of row `row`. Throws QuvelaError to stop the run at that row.
    virtual report::RenderedPage formPage(const spreadsheet::SpreadsheetSession &sheet, int row) = 0;
};

// What the driver needs of the window that runs it.
class RosterReportHost
{
public:
    virtual ~RosterReportHost() = default;
    // Preview mode, before anything is opened: when this window's preview window is still
    // open, bring it to the front and return true; the run ends there.
    virtual bool raiseOpenPreview() = 0;
    // The row whose form is being made (the window's CurrentRow).
    virtual void setCurrentRow(int row) = 0;
    // Shows the pages in a new preview window owned by the window; returns when that
    // window has been closed.
    virtual void preview(const report::PageStore &pages) = 0;
    // One print job of one page. Throws QuvelaError when printing fails.
    virtual void print(const report::RenderedPage &page) = 0;
    // The range held no flagged row: no form, no preview window, no message box.
    virtual void nothingFlagged(const GbkString &status) = 0;
};

struct RosterRunRequest
{
    ReportMode mode = ReportMode::Print;
    GbkString startText; // the text of edStart, converted strictly
    GbkString endText;   // the text of edEnd
    GbkString workbookFile;
};

struct RosterRunResult
{
    int32_t startRow = 0;
    int32_t endRow = 0;
    int forms = 0;
    // The workbook could not be opened; its message has been shown.
    bool workbookFailed = false;
    // Preview mode found this window's preview window open and only raised it.
    bool raisedPreview = false;
};

// The status text of a range without a flagged row.
GbkString nothingFlaggedText(int32_t startRow, int32_t endRow);

// Print mode: every flagged row from start to end in row order, one form and one print
// job each. Preview mode: the first flagged row's form only. A start or end text that is
// not an integer throws ConversionError before anything else happens; an error of a form
// or of the printer propagates after the session has been ended (forms printed before
// stay printed). When the workbook cannot be opened, prompts shows "请选择EXCEL数据表格！".
RosterRunResult RunFormReport(const RosterRunRequest &request, RosterForms &forms, RosterReportHost &host,
                              Prompts &prompts);

} // namespace quvela::roster
