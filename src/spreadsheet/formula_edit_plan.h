// What writing values into a worksheet changes in its formula cells.
#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula_cell_edits.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/xlsx_sheet_rewriter.h" // PendingWrites
#include "spreadsheet/sheet_formulas.h"

namespace quvela::spreadsheet {

// A filled-down formula whose first cell is written carries on from its next cell (a
// group down one column or along one row), or each of its other cells gets the
// formula spelled out (a block). Every formula whose value depends on a written cell
// gets the value the engine computes, or loses its stored value when the engine
// cannot compute it; formulas whose stored value stays the same are not touched.
// The engine must hold the sheet as stored; the written values are put into it.
// Throws QuvelaError when a formula cannot be carried on.
FormulaCellEdits planFormulaEdits(const PendingWrites &writes, const SheetFormulas &formulas,
                                  const CellStore &stored, FormulaEngine &engine);

} // namespace quvela::spreadsheet
