// A worksheet's cells as a spreadsheet program shows them: the values the file stores,
// and for a formula saved without its result the value computed from the cells it
// reads. Holds the formula engine of the sheet, built on first need.
#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/sheet_formulas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quvela::spreadsheet {

class FormulaSheet final : public SheetData
{
public:
    // Both must outlive the sheet.
    FormulaSheet(const CellStore &cells, const SheetFormulas &formulas, std::string sheetName);
    ~FormulaSheet() override;

    // Throws QuvelaError, naming the cell, for a formula saved without its result that
    // cannot be computed here.
    CellValue cell(int row, int column) const override;
    int lastRow() const override;
    int lastColumn(int row) const override;
    bool uses1904Dates() const override { return m_cells.uses1904Dates(); }

    // The formulas of the sheet, stored results taken as they are, and the values of the
    // cells that the formulas saved without results read.
    FormulaEngine &engine() const;

private:
    const CellStore &m_cells;
    const SheetFormulas &m_formulas;
    std::string m_sheetName;
    mutable std::unique_ptr<FormulaEngine> m_engine;
};

} // namespace quvela::spreadsheet
