#include "roster_tools/roster_report_run.h"

#include "common/prompts.h"
#include "common/pub_func.h"
#include "roster_tools/print_flag.h"
#include "spreadsheet/first_worksheet_open.h"
#include "spreadsheet/spreadsheet_session.h"

#include <algorithm>
#include <string>

namespace quvela::roster {
namespace {

class SessionEnd
{
public:
    explicit SessionEnd(spreadsheet::SpreadsheetSession &sheet) : m_sheet(sheet) {}
    ~SessionEnd() { m_sheet.end(); }
    SessionEnd(const SessionEnd &) = delete;
    SessionEnd &operator=(const SessionEnd &) = delete;

private:
    spreadsheet::SpreadsheetSession &m_sheet;
};

} // namespace

GbkString nothingFlaggedText(int32_t startRow, int32_t endRow)
{
    return gbk::fromUtf8("第 " + std::to_string(startRow) + " 行至第 " + std::to_string(endRow)
                         + " 行中没有打印否为 1 的行，没有打印表格。");
}

RosterRunResult RunFormReport(const RosterRunRequest &request, RosterForms &forms, RosterReportHost &host,
                              Prompts &prompts)
{
    RosterRunResult result;
    result.startRow = StrToInt(request.startText);
    result.endRow = StrToInt(request.endText);
    if (request.mode == ReportMode::Preview && host.raiseOpenPreview()) {
        result.raisedPreview = true;
        return result;
    }

    spreadsheet::SpreadsheetSession sheet;
    if (!spreadsheet::openFirstWorksheet(prompts, sheet, request.workbookFile, gbk::fromUtf8("Excel文件打开失败！"))) {
        result.workbookFailed = true;
        return result;
    }
    const SessionEnd sessionEnd(sheet);
    forms.prepare();
    const int flagColumn = forms.flagColumn();

    // Rows past the last one that holds a cell have an empty flag; ending there keeps an
    // end row such as 2000000000 from running through rows that cannot be flagged.
    const int32_t last = std::min(result.endRow, int32_t(sheet.lastRow()));
    for (int32_t row = result.startRow; row <= last; ++row) {
        if (!isPrintFlag(sheet.readCellText(row, flagColumn)))
            continue;
        host.setCurrentRow(row);
        const report::RenderedPage page = forms.formPage(sheet, row);
        ++result.forms;
        if (request.mode == ReportMode::Preview) {
            host.preview(report::PageStore{page});
            return result;
        }
        host.print(page);
    }
    if (result.forms == 0)
        host.nothingFlagged(nothingFlaggedText(result.startRow, result.endRow));
    return result;
}

} // namespace quvela::roster
