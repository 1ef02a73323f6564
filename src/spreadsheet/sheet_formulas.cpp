#include "spreadsheet/sheet_formulas.h"

#include "spreadsheet/formula_references.h"
#include "spreadsheet/spreadsheet_session.h"

#include <algorithm>

namespace quvela::spreadsheet {

namespace {

bool before(const SheetFormula &a, const SheetFormula &b)
{
    return a.cell.row != b.cell.row ? a.cell.row < b.cell.row : a.cell.column < b.cell.column;
}
} // namespace

void SheetFormulas::add(SheetFormula formula)
{
    m_textBytes += formula.text.size();
    if (m_formulas.size() >= kMaxFormulas || m_textBytes > kMaxTextBytes)
        throw WorkbookOpenError(gbk::fromUtf8("工作表的公式过多，无法读取。"));
    m_withoutResult += formula.hasResult ? 0 : 1;
    m_formulas.push_back(std::move(formula));
}

void SheetFormulas::finish()
{
    // Files list their cells in order; only a producer that does not pays for sorting.
    if (!std::is_sorted(m_formulas.begin(), m_formulas.end(), before))
        std::stable_sort(m_formulas.begin(), m_formulas.end(), before);
    const auto samePlace = [](const SheetFormula &a, const SheetFormula &b) { return a.cell == b.cell; };
    if (std::adjacent_find(m_formulas.begin(), m_formulas.end(), samePlace) != m_formulas.end()) {
        // A later formula at the same position wins, as for the cells.
        std::vector<SheetFormula> unique;
        unique.reserve(m_formulas.size());
        for (std::size_t i = 0; i < m_formulas.size(); ++i) {
            if (i + 1 < m_formulas.size() && m_formulas[i + 1].cell == m_formulas[i].cell)
                continue;
            unique.push_back(std::move(m_formulas[i]));
        }
        m_formulas = std::move(unique);
    }
    m_withoutResult = static_cast<std::size_t>(std::count_if(
        m_formulas.begin(), m_formulas.end(), [](const SheetFormula &f) { return !f.hasResult; }));
    m_groupFirsts.clear();
    for (std::size_t i = 0; i < m_formulas.size(); ++i) {
        const SheetFormula &f = m_formulas[i];
        if (f.kind == SheetFormula::Kind::SharedFirst)
            m_groupFirsts.emplace(f.group, i); // the first in sheet order wins
    }
}

const SheetFormula *SheetFormulas::find(int row, int column) const
{
    SheetFormula key;
    key.cell = {row, column};
    const auto it = std::lower_bound(m_formulas.begin(), m_formulas.end(), key, before);
    return it != m_formulas.end() && it->cell == key.cell ? &*it : nullptr;
}

const SheetFormula *SheetFormulas::groupFirst(uint32_t group) const
{
    const auto it = m_groupFirsts.find(group);
    return it == m_groupFirsts.end() ? nullptr : &m_formulas[it->second];
}

std::optional<std::string> SheetFormulas::textAt(const SheetFormula &formula) const
{
    if (formula.kind != SheetFormula::Kind::Shared)
        return formula.text;
    const SheetFormula *first = groupFirst(formula.group);
    if (!first || !first->range.contains(formula.cell.row, formula.cell.column))
        return std::nullopt;
    return FormulaReferences::shifted(first->text, formula.cell.row - first->cell.row,
                                      formula.cell.column - first->cell.column);
}

std::optional<std::string> SheetFormulas::engineText(const SheetFormula &formula) const
{
    std::optional<std::string> text = textAt(formula);
    if (text && formula.kind == SheetFormula::Kind::Array)
        return "QUVELA.ARRAY(" + *text + ")";
    return text;
}

} // namespace quvela::spreadsheet
