// The messages an .xls workbook (or its compound-file container) is refused with.
#pragma once

#include "spreadsheet/spreadsheet_session.h"

#include <filesystem>
#include <string_view>

namespace quvela::spreadsheet {

// "工作簿文件已损坏，无法读取（<detail>）。" with a short UTF-8 detail of what was wrong.
WorkbookOpenError damagedWorkbook(std::string_view detailUtf8);
// The workbook is protected by a password to open.
WorkbookOpenError encryptedWorkbook();
// The bytes are no workbook this reader knows.
WorkbookOpenError notAWorkbook();
// The file or one of its parts is larger than the reader accepts.
WorkbookOpenError workbookTooLarge();
// An Excel 5.0/95 workbook (BIFF5/7), whose text depends on the saving system's code page.
WorkbookOpenError oldExcelFormat();
// The file is missing, is no regular file or cannot be read.
WorkbookOpenError cannotOpenFile(const std::filesystem::path &file);

} // namespace quvela::spreadsheet
