// Writes integers into the first worksheet of a BIFF8 workbook stream by editing its
// records: a written cell becomes a NUMBER or RK record in its row's block, in column
// order, with the cell's format kept. Every other record is copied as it is, except the
// ones holding positions or extents that the edit moves: the sheet positions in the
// workbook globals, the row-block index and DBCELL records, DIMENSIONS, the ROW record of
// a written row; the formulas that read a written cell, which are marked to be
// recalculated when the workbook is next opened and take the results given for them;
// and, when the first cell of a shared formula is written, the other cells of the
// group, which take its tokens as their own formula.
#pragma once

#include "spreadsheet/cell_write_guard.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/pending_writes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

struct XlsSheetLayout;

class XlsSheetEditor
{
public:
    // BIFF8 sheets: 65,536 rows of 256 columns.
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;

    // Reads the structure of the first worksheet. The stream is not copied: it must
    // outlive the editor. Throws WorkbookOpenError when the stream is damaged, encrypted
    // or older than BIFF8, or has no worksheet.
    explicit XlsSheetEditor(std::string_view stream);
    ~XlsSheetEditor();
    XlsSheetEditor(const XlsSheetEditor &) = delete;
    XlsSheetEditor &operator=(const XlsSheetEditor &) = delete;

    // The workbook counts its dates from 1904-01-01.
    bool date1904() const;

    // Why the cell (counting from 1) must not be written, in UTF-8, or nullopt.
    std::optional<std::string> refusal(int row, int column) const;

    struct Formula
    {
        CellPosition cell;               // counting from 1
        std::optional<std::string> text; // A1 text, when it can be made from the tokens
    };
    // The formulas of the sheet; those of a shared formula's cells each in its own cell.
    std::vector<Formula> formulas() const;

    // The new stream holding the writes (cells counting from 1; each must have passed
    // refusal()) and, as the stored results of their formula cells, the results given.
    // Throws QuvelaError when the edited sheet would break a limit of the file format.
    std::string apply(const PendingWrites &writes, const std::vector<FormulaResult> &results = {}) const;

private:
    std::unique_ptr<XlsSheetLayout> d;
};

} // namespace quvela::spreadsheet
