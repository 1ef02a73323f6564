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
    const SheetFormula *formula = m_formulas.all().empty() ? nullptr : m_formulas.find(row, column);
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

FormulaEngine &FormulaSheet::engine(const std::vector<CellPosition> &changed) const
{
    if (!m_engine) {
        auto engine = std::make_unique<FormulaEngine>(m_sheetName);
        for (const SheetFormula &formula : m_formulas.all()) {
            std::optional<CellValue> stored;
            if (formula.hasResult)
                stored = m_cells.cell(formula.cell.row, formula.cell.column);
            std::optional<std::string> text = m_formulas.textAt(formula);
            // A formula the engine cannot see whole still keeps the cells it names as
            // inputs: wrapped in a function the engine does not have, it is never trusted.
            if (!text)
                text = "QUVELA.UNKNOWN()";
            else if (formula.kind == SheetFormula::Kind::Array)
                text = "QUVELA.ARRAY(" + *text + ")";
            engine->setFormula(formula.cell, *text, stored);
        }
        m_engine = std::move(engine);
    }
    // Only the values that will be read: a roster's other columns would cost as much
    // to hand over as the whole calculation.
    if (changed.empty()) {
        if (m_readsLoaded)
            return *m_engine;
        m_readsLoaded = true;
    }
    for (const CellRange &range : m_engine->cellsRead(changed)) {
        m_cells.forEachCellIn(range, [&](int row, int column, const CellValue &value) {
            if (!m_formulas.find(row, column))
                m_engine->setValue({row, column}, value);
        });
    }
    return *m_engine;
}

} // namespace quvela::spreadsheet
