// How the first worksheet of a workbook is laid out on the screen: merged ranges, column
// widths, row heights and the frozen rows and columns, as the file stores them.
#pragma once

#include "spreadsheet/cell_reference.h"

#include <filesystem>
#include <map>
#include <vector>

namespace quvela::spreadsheet {

struct SheetLayout
{
    std::vector<CellRange> merges;
    // Pixels at 96 dpi, for the columns and rows the file sizes; the others take the
    // defaults.
    std::map<int, int> columnWidths;
    std::map<int, int> rowHeights;
    std::vector<int> hiddenColumns;
    std::vector<int> hiddenRows;
    int defaultColumnWidth = 64;
    int defaultRowHeight = 20;
    int frozenRows = 0;
    int frozenColumns = 0;
};

// The layout of an .xlsx or .xls (BIFF8) workbook; any other file, or a layout that
// cannot be read, gives the defaults (what was read before damage stays): the cells
// still show, only less like the spreadsheet program shows them. Bounded like the cell
// readers (the counts stop at the sheet's limits). Never throws.
SheetLayout readSheetLayout(const std::filesystem::path &file);

} // namespace quvela::spreadsheet
