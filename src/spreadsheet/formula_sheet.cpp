#include "spreadsheet/formula_sheet.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/formula_references.h"

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

namespace {

std::string engineText(const SheetFormulas &formulas, const SheetFormula &formula)
{
    std::optional<std::string> text = formulas.textAt(formula);
    // A formula the engine cannot see whole still keeps the cells it names as inputs:
    // wrapped in a function the engine does not have, it is never trusted.
    if (!text)
        return "QUVELA.UNKNOWN()";
    if (formula.kind == SheetFormula::Kind::Array)
        return "QUVELA.ARRAY(" + *text + ")";
    return *std::move(text);
}

} // namespace

std::vector<uint8_t> FormulaSheet::reachedFrom(const std::vector<CellPosition> &changed) const
{
    // By columns, a superset of the formulas that read a changed cell, directly or
    // through others: a roster's formulas read whole columns of figures row by row, so
    // this leaves out every formula over columns no write reaches.
    const std::vector<SheetFormula> &all = m_formulas.all();
    std::vector<std::vector<std::pair<int, int>>> reads(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (const FormulaReference &ref : FormulaReferences::find(engineText(m_formulas, all[i]), m_sheetName)) {
            if (!ref.otherSheet)
                reads[i].push_back({ref.range.first.column, ref.range.last.column});
        }
    }
    std::vector<uint8_t> dirtyColumn(kMaxColumns + 1, 0);
    for (const CellPosition &cell : changed) {
        if (cell.column >= 1 && cell.column <= kMaxColumns)
            dirtyColumn[static_cast<std::size_t>(cell.column)] = 1;
    }
    std::vector<uint8_t> reached(all.size(), 0);
    constexpr int kWide = 256; // columns; a wider read is taken to reach a change
    constexpr int kMaxPasses = 64;
    for (int pass = 0;; ++pass) {
        if (pass == kMaxPasses) {
            std::fill(reached.begin(), reached.end(), 1);
            break;
        }
        bool grew = false;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (reached[i])
                continue;
            for (const auto &[first, last] : reads[i]) {
                bool hit = last - first >= kWide;
                for (int c = first; !hit && c <= last; ++c)
                    hit = dirtyColumn[static_cast<std::size_t>(c)] != 0;
                if (hit) {
                    reached[i] = 1;
                    grew = grew || !dirtyColumn[static_cast<std::size_t>(all[i].cell.column)];
                    dirtyColumn[static_cast<std::size_t>(all[i].cell.column)] = 1;
                    break;
                }
            }
        }
        if (!grew)
            break;
    }
    for (std::size_t i = 0; i < all.size(); ++i)
        reached[i] = reached[i] || !all[i].hasResult; // computed in any case
    return reached;
}

FormulaEngine &FormulaSheet::engine(const std::vector<CellPosition> &changed) const
{
    if (m_engine && changed.empty())
        return *m_engine;
    const std::vector<SheetFormula> &all = m_formulas.all();
    // For a write, only the formulas it can reach; the others keep their stored results,
    // which the engine reads as plain values.
    const std::vector<uint8_t> included = changed.empty() ? std::vector<uint8_t>(all.size(), 1) : reachedFrom(changed);
    auto engine = std::make_unique<FormulaEngine>(m_sheetName);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!included[i])
            continue;
        std::optional<CellValue> stored;
        if (all[i].hasResult)
            stored = m_cells.cell(all[i].cell.row, all[i].cell.column);
        engine->setFormula(all[i].cell, engineText(m_formulas, all[i]), stored);
    }
    // Only the values that will be read: a roster's other columns would cost as much
    // to hand over as the whole calculation.
    for (const CellRange &range : engine->cellsRead(changed)) {
        m_cells.forEachCellIn(range, [&](int row, int column, const CellValue &value) {
            const SheetFormula *formula = m_formulas.find(row, column);
            if (!formula || !included[static_cast<std::size_t>(formula - all.data())])
                engine->setValue({row, column}, value);
        });
    }
    m_engine = std::move(engine);
    return *m_engine;
}

} // namespace quvela::spreadsheet
