// Reads the first worksheet of an Excel 97-2003 workbook (.xls, BIFF8).
#pragma once

#include "spreadsheet/sheet_data.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// Larger .xls files are refused before anything is read; rosters are a few megabytes.
inline constexpr std::uintmax_t kMaxXlsFileBytes = 128u * 1024 * 1024;

// The first worksheet in workbook order. Chart sheets, Excel 4 macro sheets and
// modules before it are passed over, as the spreadsheet application's list of
// worksheets does; hidden worksheets count. Values are the cached results for formula
// cells. Date-formatted numbers come as serials of the 1900 date system even from a
// workbook saved in the 1904 system, so that both systems read alike.
//
// Throws WorkbookOpenError with a message for the clerk when the file is missing, no
// workbook, damaged, password-protected, in the Excel 5.0/95 format, has no worksheet
// or is too large. Time and memory stay bounded by the file's size on any input.
std::unique_ptr<SheetData> readXlsFirstSheet(const std::filesystem::path &file);

// The same from the bytes of a file; they need not outlive the call.
std::unique_ptr<SheetData> readXlsFirstSheet(std::string_view bytes);

// The whole file, refused with the reader's messages when it is missing, unreadable or
// larger than kMaxXlsFileBytes.
std::string readXlsFileBytes(const std::filesystem::path &file);

} // namespace quvela::spreadsheet
