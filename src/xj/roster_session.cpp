#include "xj/roster_session.h"

namespace quvela::xj {

bool openRosterWorkbook(Prompts &prompts, spreadsheet::SpreadsheetSession &sheet, const GbkString &file)
{
    try {
        sheet.connect();
    } catch (const std::exception &) {
        prompts.message(gbk::fromUtf8("Excel文件打开失败！,本工具的使用必须安装Excel2003。"));
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

} // namespace quvela::xj
