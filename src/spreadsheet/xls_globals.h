// What the workbook-wide part of a BIFF8 stream says about its sheets and cells.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

class XlsSheetData;

struct XlsSheetEntry
{
    enum class Kind : uint8_t { Worksheet, MacroSheet, Chart, Module, Other };
    Kind kind = Kind::Other;
    uint32_t offset = 0; // of the sheet's BOF record in the stream
};

struct XlsGlobals
{
    bool date1904 = false;
    std::vector<bool> xfIsDate;         // per XF record, in file order
    std::vector<XlsSheetEntry> sheets;  // in workbook order
};

// Reads the records from the first BOF to its EOF. The shared strings go into texts,
// numbered from 0 in table order. Throws WorkbookOpenError for an encrypted workbook,
// a pre-97 workbook and damage.
XlsGlobals readXlsGlobals(std::string_view stream, XlsSheetData &texts);

} // namespace quvela::spreadsheet
