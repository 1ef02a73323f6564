// Worksheets for the tests of the workbook-driven tools, written with libxlsxwriter: the
// cells given, and optionally merged ranges, column widths, row heights, frozen rows.
#pragma once

#include "support/xlsx_rows.h"

#include <xlsxwriter.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quvela::test {

struct SheetExtras
{
    struct Merge
    {
        int firstRow, firstColumn, lastRow, lastColumn; // 1-based
        std::string text;
    };
    std::vector<Merge> merges;
    std::vector<std::pair<int, double>> columnWidths; // column, width in characters
    std::vector<std::pair<int, double>> rowHeights;   // row, height in points
    int frozenRows = 0;
};

inline void writeSheet(const std::filesystem::path &file, const std::vector<SheetRow> &rows,
                       const SheetExtras &extras = {})
{
    lxw_workbook *book = workbook_new(file.c_str());
    ASSERT_NE(book, nullptr);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "花名册");
    for (const auto &[column, width] : extras.columnWidths)
        worksheet_set_column(sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr);
    for (const auto &[row, height] : extras.rowHeights)
        worksheet_set_row(sheet, lxw_row_t(row - 1), height, nullptr);
    for (const SheetExtras::Merge &m : extras.merges)
        worksheet_merge_range(sheet, lxw_row_t(m.firstRow - 1), lxw_col_t(m.firstColumn - 1),
                              lxw_row_t(m.lastRow - 1), lxw_col_t(m.lastColumn - 1), m.text.c_str(), nullptr);
    if (extras.frozenRows > 0)
        worksheet_freeze_panes(sheet, lxw_row_t(extras.frozenRows), 0);
    writeRows(sheet, rows);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

} // namespace quvela::test
