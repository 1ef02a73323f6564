#include "spreadsheet/first_worksheet_open.h"

namespace quvela::spreadsheet {

bool openFirstWorksheet(Prompts &prompts, SpreadsheetSession &sheet, const GbkString &file,
                        const GbkString &connectFailure)
{
    try {
        sheet.connect();
    } catch (const std::exception &) {
        prompts.message(connectFailure);
        return false;
    }
    sheet.hide();
    sheet.setCaption(gbk::fromUtf8("Excel数据文件"));
    sheet.addNewWorkbook();
    try {
        sheet.open(gbk::toPath(file));
    } catch (const std::exception &) {
        // Missing, empty name, not a workbook, damaged: the clerk chooses again.
        sheet.end();
        prompts.message(gbk::fromUtf8("请选择EXCEL数据表格！"));
        return false;
    }
    sheet.bindWorkbook();
    sheet.bindFirstWorksheet();
    return true;
}

} // namespace quvela::spreadsheet
