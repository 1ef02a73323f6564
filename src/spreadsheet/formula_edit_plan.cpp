#include "spreadsheet/formula_edit_plan.h"

#include "common/errors.h"
#include "common/gbk.h"

#include <algorithm>
#include <unordered_map>

namespace quvela::spreadsheet {

namespace {

bool isWritten(const PendingWrites &writes, CellPosition cell)
{
    const auto r = writes.find(cell.row);
    return r != writes.end() && r->second.count(cell.column) > 0;
}

bool sameValue(const CellValue &a, const CellValue &b)
{
    if (a.type != b.type)
        return false;
    if (a.type == CellValue::Type::Text || a.type == CellValue::Type::Error)
        return a.text == b.text;
    return a.number == b.number;
}

[[noreturn]] void cannotCarryOn(CellPosition first)
{
    throw QuvelaError(gbk::fromUtf8("单元格 " + cellReference(first.row, first.column)
                                    + " 是向下填充的公式的第一个单元格，其余单元格的公式无法改写，不能写入。"));
}

// The cells of a filled-down formula whose first cell is written keep their formula.
void carryOnGroups(const PendingWrites &writes, const SheetFormulas &formulas, FormulaCellEdits &edits)
{
    std::vector<const SheetFormula *> writtenFirsts;
    for (const SheetFormula &f : formulas.all()) {
        if (f.kind == SheetFormula::Kind::SharedFirst && isWritten(writes, f.cell)
            && formulas.groupFirst(f.group) == &f)
            writtenFirsts.push_back(&f);
    }
    if (writtenFirsts.empty())
        return;
    std::unordered_map<uint32_t, std::vector<const SheetFormula *>> members;
    for (const SheetFormula *first : writtenFirsts)
        members[first->group];
    for (const SheetFormula &f : formulas.all()) {
        if (f.kind != SheetFormula::Kind::Shared || isWritten(writes, f.cell))
            continue;
        const auto it = members.find(f.group);
        if (it != members.end())
            it->second.push_back(&f);
    }
    for (const SheetFormula *first : writtenFirsts) {
        const std::vector<const SheetFormula *> &rest = members[first->group];
        if (rest.empty())
            continue;
        const CellRange &range = first->range;
        const bool line = range.first.row == range.last.row || range.first.column == range.last.column;
        if (line) {
            // The next cell becomes the group's first: the cells after it keep pointing
            // at the group, unchanged.
            const SheetFormula &next = *rest.front();
            const auto text = formulas.textAt(next);
            if (!text)
                cannotCarryOn(first->cell);
            FormulaCellEdit &edit = edits[next.cell.row][next.cell.column];
            edit.formulaAttributes = " t=\"shared\" ref=\"" + rangeReference({next.cell, range.last})
                + "\" si=\"" + std::to_string(first->group) + '"';
            edit.formulaText = *text;
        } else {
            for (const SheetFormula *member : rest) {
                const auto text = formulas.textAt(*member);
                if (!text)
                    cannotCarryOn(first->cell);
                FormulaCellEdit &edit = edits[member->cell.row][member->cell.column];
                edit.formulaAttributes = std::string();
                edit.formulaText = *text;
            }
        }
    }
}

} // namespace

FormulaCellEdits planFormulaEdits(const PendingWrites &writes, const SheetFormulas &formulas,
                                  const CellStore &stored, const std::vector<FormulaResult> &results)
{
    FormulaCellEdits edits;
    if (formulas.all().empty())
        return edits;
    if (!writes.empty())
        carryOnGroups(writes, formulas, edits);

    // An array formula's result fills its whole range; a stale one goes everywhere.
    constexpr long long kMaxArrayCells = 10000;
    for (const FormulaResult &result : results) {
        const SheetFormula *formula = formulas.find(result.cell.row, result.cell.column);
        if (!formula || isWritten(writes, result.cell))
            continue;
        if (formula->hasResult && result.value
            && sameValue(stored.cell(result.cell.row, result.cell.column), *result.value))
            continue;
        if (!formula->hasResult && !result.value)
            continue;
        if (formula->kind == SheetFormula::Kind::Array) {
            const CellRange &r = formula->range;
            const long long area = static_cast<long long>(r.last.row - r.first.row + 1)
                * (r.last.column - r.first.column + 1);
            if (area <= kMaxArrayCells) {
                for (int row = r.first.row; row <= r.last.row; ++row) {
                    for (int column = r.first.column; column <= r.last.column; ++column) {
                        if (!isWritten(writes, {row, column}))
                            edits[row][column].replaceResult = true;
                    }
                }
            }
            continue;
        }
        FormulaCellEdit &edit = edits[result.cell.row][result.cell.column];
        edit.replaceResult = true;
        edit.result = result.value;
    }
    return edits;
}

} // namespace quvela::spreadsheet
