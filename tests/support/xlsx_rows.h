// Worksheet rows for test workbooks, written with libxlsxwriter: an independent writer,
// so that the readers are never tested only against our own.
#pragma once

#include <xlsxwriter.h>

#include <map>
#include <string>
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

} // namespace quvela::test
