#include "spreadsheet/formula_sheet.h"

#include "common/errors.h"
#include "common/gbk.h"

#include <algorithm>

namespace quvela::spreadsheet {

FormulaSheet::FormulaSheet(const CellStore &cells, const SheetFormulas &formulas, std::string sheetName)
    : m_cells(cells)
    , m_formulas(formulas)
    , m_sheetName(std::move(sheetName))
{
}

FormulaSheet::~FormulaSheet() = default;

CellValue FormulaSheet::cell(int row, int column) const
{
    // Every cell read goes through here: a sheet whose formulas all carry their results
    // reads as stored without looking a formula up.
    const SheetFormula *formula = m_formulas.allHaveResults() ? nullptr : m_formulas.find(row, column);
    if (!formula || formula->hasResult)
        return m_cells.cell(row, column);
    if (auto value = engine().evaluate({row, column}))
        return *value;
    throw QuvelaError(gbk::fromUtf8("单元格 " + cellReference(row, column)
                                    + " 的公式没有保存计算结果，本程序也无法算出它的值。请先用 Excel 等电子表格程序打开该工作簿并保存一次，再重试。"));
}

int FormulaSheet::lastRow() const
{
    int last = m_cells.lastRow();
    for (auto it = m_formulas.all().rbegin(); it != m_formulas.all().rend(); ++it) {
        if (!it->hasResult) {
            last = std::max(last, it->cell.row);
            break;
        }
        if (it->cell.row <= last)
            break;
    }
    return last;
}

int FormulaSheet::lastColumn(int row) const
{
    int last = m_cells.lastColumn(row);
    const auto &all = m_formulas.all();
    auto it = std::upper_bound(all.begin(), all.end(), row,
                               [](int r, const SheetFormula &f) { return r < f.cell.row; });
    while (it != all.begin()) {
        --it;
        if (it->cell.row != row || it->cell.column <= last)
            break;
        if (!it->hasResult) {
            last = it->cell.column;
            break;
        }
    }
    return last;
}

FormulaEngine &FormulaSheet::engine() const
{
    if (m_engine)
        return *m_engine;
    auto engine = std::make_unique<FormulaEngine>(m_sheetName);
    for (const SheetFormula &formula : m_formulas.all()) {
        std::optional<CellValue> stored;
        if (formula.hasResult)
            stored = m_cells.cell(formula.cell.row, formula.cell.column);
        if (const auto text = m_formulas.engineText(formula))
            engine->setFormula(formula.cell, *text, stored);
        else
            engine->setUnknownFormula(0, formula.cell, stored);
    }
    // Only the values that the formulas without results read.
    for (const CellRange &range : engine->cellsRead({})) {
        m_cells.forEachCellIn(range, [&](int row, int column, const CellValue &value) {
            if (!m_formulas.find(row, column))
                engine->setValue({row, column}, value);
        });
    }
    m_engine = std::move(engine);
    return *m_engine;
}

} // namespace quvela::spreadsheet
