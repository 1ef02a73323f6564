// The formulas of one worksheet, computed as a spreadsheet program computes them:
// read from their A1 text, copied to other cells as a fill copies them, and evaluated
// together with the cells they depend on. Whatever the engine cannot compute exactly
// (a function it lacks, a reference to another sheet or workbook, a cycle, a text too
// long or too deeply nested) it reports as such instead of guessing a value.
#pragma once

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/sheet_data.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

// A cell, or a range, of one of the engine's sheets, counting from 0 in the order the
// engine was given them.
struct SheetCell
{
    int sheet = 0;
    CellPosition cell;
};

struct SheetRange
{
    int sheet = 0;
    CellRange range;
};

// A formula cell's newly computed value; nullopt when it cannot be computed here.
struct FormulaResult
{
    CellPosition cell;
    std::optional<CellValue> value;
    int sheet = 0;
};

class FormulaEngine
{
public:
    // Longer texts and deeper nesting are never handed to the parser: a hostile file
    // must not exhaust the stack. The spreadsheet programs themselves allow 8,192
    // characters and 64 nested functions.
    static constexpr std::size_t kMaxFormulaBytes = 8192 * 3;
    static constexpr int kMaxNesting = 64;

    // sheetName: the worksheet's own name, so that references that spell it out
    // ('名册'!A1) are understood as references to this sheet.
    explicit FormulaEngine(std::string_view sheetName = "Sheet1");
    // Several sheets of one workbook, by their names, which formulas use to read each
    // other's cells. A reference to a sheet not given here cannot be computed.
    explicit FormulaEngine(const std::vector<std::string> &sheetNames);
    ~FormulaEngine();
    FormulaEngine(const FormulaEngine &) = delete;
    FormulaEngine &operator=(const FormulaEngine &) = delete;

    // The text of a formula (A1 style, UTF-8, without the leading "=") written in cell
    // from, as it reads when copied to cell to: relative references move by the
    // distance, absolute ones stay. nullopt when the text cannot be read or a reference
    // would leave the sheet.
    std::optional<std::string> translate(std::string_view formula, CellPosition from,
                                         CellPosition to);

    int sheetCount() const;

    // The cells of the sheets; a later call for the same cell replaces what it held. A
    // cell outside the sheets is ignored. Without a sheet: the first.
    void setValue(CellPosition cell, const CellValue &value) { setValue(0, cell, value); }
    void setValue(int sheet, CellPosition cell, const CellValue &value);
    // stored: the result the file keeps for the formula, taken as its value until a
    // cell it depends on changes; without one the formula is computed when needed.
    void setFormula(CellPosition cell, std::string_view formula,
                    const std::optional<CellValue> &stored = std::nullopt)
    {
        setFormula(0, cell, formula, stored);
    }
    void setFormula(int sheet, CellPosition cell, std::string_view formula,
                    const std::optional<CellValue> &stored = std::nullopt);
    // A formula whose text cannot be known: never computed, and taken to read every
    // cell, so that any change makes its stored result stale.
    void setUnknownFormula(int sheet, CellPosition cell, const std::optional<CellValue> &stored);

    // The cells that the formulas computed for these changes read (those saved without
    // a result included), for a caller that gives the engine only the values it needs:
    // it sets them before changing anything and calling recalculate.
    std::vector<CellRange> cellsRead(const std::vector<CellPosition> &changed); // the first sheet's
    std::vector<SheetRange> sheetCellsRead(const std::vector<SheetCell> &changed);

    // The formula cells whose value depends on one of the changed cells, directly or
    // through other formulas (a changed formula cell included), with their new values,
    // in sheet, row and then column order.
    std::vector<FormulaResult> recalculate(const std::vector<CellPosition> &changed); // on the first sheet
    std::vector<FormulaResult> recalculateSheets(const std::vector<SheetCell> &changed);

    // The value of one formula cell, computing what it depends on; nullopt when it
    // cannot be computed here or the cell holds no formula.
    std::optional<CellValue> evaluate(CellPosition cell);
    std::optional<CellValue> evaluate(int sheet, CellPosition cell);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quvela::spreadsheet
