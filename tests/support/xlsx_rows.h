// Worksheet rows for test workbooks, written with libxlsxwriter: an independent writer,
// so that the readers are never tested only against our own.
#pragma once

#include <xlsxwriter.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace quvela::test {

// Nothing, a number or a text (UTF-8).
using Cell = std::variant<std::monostate, double, std::string>;
// Cells by 1-based column.
using Cells = std::map<int, Cell>;

struct SheetRow
{
    int row; // 1-based
    Cells cells;
};

inline void writeRows(lxw_worksheet *sheet, const std::vector<SheetRow> &rows)
{
    for (const SheetRow &r : rows)
        for (const auto &[column, cell] : r.cells) {
            const auto row0 = lxw_row_t(r.row - 1);
            const auto col0 = lxw_col_t(column - 1);
            if (const double *n = std::get_if<double>(&cell))
                worksheet_write_number(sheet, row0, col0, *n, nullptr);
            else if (const std::string *s = std::get_if<std::string>(&cell))
                worksheet_write_string(sheet, row0, col0, s->c_str(), nullptr);
        }
}

// The heading rows 1 to 6 of a roster: its title in A1, column captions in row 4 and the
// columns numbered 1, 2, ... in row 6, as the wage offices' rosters have them.
struct RosterHeading
{
    const char *sheetName;
    const char *title;
    std::vector<std::pair<int, std::string>> captions; // 1-based column, text
    int numberedColumns;
};

// A one-sheet workbook of the heading and the rows below it.
inline void writeRosterBook(const std::filesystem::path &file, const RosterHeading &heading,
                            const std::vector<SheetRow> &rows)
{
    lxw_workbook *book = workbook_new(file.c_str());
    ASSERT_NE(book, nullptr);
    lxw_worksheet *sheet = workbook_add_worksheet(book, heading.sheetName);
    worksheet_write_string(sheet, 0, 0, heading.title, nullptr);
    for (const auto &[column, text] : heading.captions)
        worksheet_write_string(sheet, 3, lxw_col_t(column - 1), text.c_str(), nullptr);
    for (int c = 0; c < heading.numberedColumns; ++c)
        worksheet_write_number(sheet, 5, lxw_col_t(c), c + 1, nullptr);
    writeRows(sheet, rows);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

} // namespace quvela::test
