// The formulas of a workbook that a write into its first worksheet changes, computed
// anew: those of the first sheet that read the written cells, and those of the other
// sheets that read them, directly or through each other's formulas, in any order of
// sheets. Only what the write can reach is handed to the engine.
#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/defined_names.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/pending_writes.h"
#include "spreadsheet/sheet_formulas.h"

#include <string>
#include <vector>

namespace quvela::spreadsheet {

// The worksheets of a workbook, each read when first asked for.
class RecalculationSheets
{
public:
    virtual ~RecalculationSheets() = default;
    // The first is the sheet written into.
    virtual std::size_t count() const = 0;
    virtual const std::string &name(std::size_t sheet) const = 0;
    // nullptr for a sheet that cannot be read: its formulas keep what they hold.
    virtual const SheetFormulas *formulas(std::size_t sheet) = 0;
    // nullptr for a sheet whose cells are not to be had (unreadable, or past a bound of
    // memory): formulas that read it are then not computed.
    virtual const CellStore *cells(std::size_t sheet) = 0;
    // The workbook's defined names; formulas using others are not computed.
    virtual const DefinedNames &names() const = 0;
};

// By sheet: the formula cells whose value depends on a written cell (a written cell
// itself left out), with their new values; nullopt where the engine cannot compute one.
// Formulas the write cannot reach are not listed.
std::vector<std::vector<FormulaResult>> recalculateWorkbook(RecalculationSheets &sheets,
                                                            const PendingWrites &writes);

} // namespace quvela::spreadsheet
