#include "xj/roster_session.h"

#include "spreadsheet/first_worksheet_open.h"

namespace quvela::xj {

bool openRosterWorkbook(Prompts &prompts, spreadsheet::SpreadsheetSession &sheet, const GbkString &file)
{
    return spreadsheet::openFirstWorksheet(prompts, sheet, file,
                                           gbk::fromUtf8("Excel文件打开失败！,本工具的使用必须安装Excel2003。"));
}

} // namespace quvela::xj
