// What writing values into a worksheet changes in its formula cells.
#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula_cell_edits.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/pending_writes.h"
#include "spreadsheet/sheet_formulas.h"

#include <vector>

namespace quvela::spreadsheet {

// A filled-down formula whose first cell is written carries on from its next cell (a
// group down one column or along one row), or each of its other cells gets the
// formula spelled out (a block). Every formula whose value the writes changed gets
// its new result (results: the sheet's part of what the recalculation found), or
// loses its stored one when the engine could not compute it; formulas whose stored
// value stays the same are not touched. For a sheet that is not written into itself,
// writes is empty. Throws QuvelaError when a formula cannot be carried on.
FormulaCellEdits planFormulaEdits(const PendingWrites &writes, const SheetFormulas &formulas,
                                  const CellStore &stored, const std::vector<FormulaResult> &results);

} // namespace quvela::spreadsheet
