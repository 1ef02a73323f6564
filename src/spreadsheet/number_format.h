// Which number formats show a cell as a date or time. Shared by the .xlsx and .xls
// readers so that the same workbook reads the same in either format.
#pragma once

#include <string_view>

namespace quvela::spreadsheet {

// Built-in format ids that are dates or times. Besides 14-22 and 45-47 this includes
// 27-36 and 50-58, the ids Chinese Excel and WPS write for their date formats.
bool isBuiltinDateFormat(int id);

// A custom format code (UTF-8) that shows a date or time: its first section holds
// y, m, d, h or s outside quoted text, escapes, fills, paddings and bracketed
// modifiers other than elapsed time ([h], [mm], [ss]).
bool isDateFormatCode(std::string_view code);

} // namespace quvela::spreadsheet
