// The opening steps every tool runs before it reads a roster: connect, hide, caption,
// new workbook, open the file, bind its first worksheet.
#pragma once

#include "common/prompts.h"
#include "spreadsheet/spreadsheet_session.h"

namespace quvela::spreadsheet {

// When connecting fails, connectFailure is shown; when the file cannot be opened (no
// name, missing, not a workbook, damaged), the session is ended and "请选择EXCEL数据表格！"
// is shown. The result is false then, and nothing else has changed.
bool openFirstWorksheet(Prompts &prompts, SpreadsheetSession &sheet, const GbkString &file,
                        const GbkString &connectFailure);

} // namespace quvela::spreadsheet
