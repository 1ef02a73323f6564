// An .xlsx workbook opened for reading its first worksheet and writing integers into it.
#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/cell_write_guard.h"
#include "spreadsheet/formula_cell_edits.h"
#include "spreadsheet/formula_sheet.h"
#include "spreadsheet/sheet_formulas.h"
#include "spreadsheet/xlsx_parts.h"
#include "spreadsheet/xlsx_sheet_rewriter.h"
#include "spreadsheet/zip_package.h"

#include <filesystem>
#include <memory>

namespace quvela::spreadsheet {

class XlsxWorkbook
{
public:
    // Reads the first worksheet. Throws WorkbookOpenError.
    explicit XlsxWorkbook(const std::filesystem::path &file);

    // The cells as stored, a formula saved without its result computed (see
    // FormulaSheet::cell).
    const SheetData &cells() const { return *m_sheet; }
    const SheetFormulas &formulas() const { return m_formulas; }

    // Kept until save(); a later write to the same cell wins. Throws QuvelaError for a
    // cell that must not be written; nothing is recorded then.
    void writeInteger(int row, int column, int32_t value);
    // The value written to a cell and not yet saved, if any.
    const int32_t *pendingValue(int row, int column) const;
    bool hasPendingWrites() const { return !m_writes.empty(); }

    // Rewrites the worksheet with all writes, the workbook part asking for a full
    // recalculation and the calculation chain removed; copies every other entry as
    // stored. In the worksheet, a filled-down formula whose first cell is written
    // carries on from its next cell, and every formula that depends on a written cell
    // gets its new result, or loses its result when it cannot be computed here; so do
    // the formulas of the other sheets that read it, directly or through each other.
    // The new file is written beside the original, read back and checked, then renamed
    // over it. Throws QuvelaError; the original is then untouched.
    void save();

private:
    std::string buildArchive(const std::filesystem::path &temporary, const FormulaCellEdits &edits,
                             const std::map<std::string, FormulaCellEdits> &otherSheetEdits);

    std::filesystem::path m_file;
    std::unique_ptr<ZipPackage> m_package;
    XlsxParts m_parts;
    std::unique_ptr<CellStore> m_cells;
    SheetFormulas m_formulas;
    std::unique_ptr<FormulaSheet> m_sheet;
    CellWriteGuard m_guard;
    PendingWrites m_writes;
    std::size_t m_sharedStrings = 0; // the first texts of m_cells
};

} // namespace quvela::spreadsheet
