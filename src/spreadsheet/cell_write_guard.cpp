#include "spreadsheet/cell_write_guard.h"

#include "spreadsheet/spreadsheet_session.h"

#include <algorithm>

namespace quvela::spreadsheet {

void CellWriteGuard::checkCount() const
{
    if (m_merged.ranges.size() + m_arrays.ranges.size() + m_tableHeaders.ranges.size()
            + m_masters.size()
        >= kMaxRanges)
        throw WorkbookOpenError(gbk::fromUtf8("工作表的合并单元格或公式区域过多，无法读取。"));
}

void CellWriteGuard::addMerged(const CellRange &range)
{
    checkCount();
    m_merged.ranges.push_back(range);
}

void CellWriteGuard::addSharedFormulaMaster(CellPosition cell)
{
    checkCount();
    m_masters.push_back(cell);
}

void CellWriteGuard::addArrayFormula(const CellRange &range)
{
    checkCount();
    m_arrays.ranges.push_back(range);
}

void CellWriteGuard::addTableHeader(const CellRange &range)
{
    checkCount();
    m_tableHeaders.ranges.push_back(range);
}

void CellWriteGuard::RangeSet::finish()
{
    std::sort(ranges.begin(), ranges.end(),
              [](const CellRange &a, const CellRange &b) { return a.first.row < b.first.row; });
    reach.resize(ranges.size());
    int far = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        far = std::max(far, ranges[i].last.row);
        reach[i] = far;
    }
}

const CellRange *CellWriteGuard::RangeSet::find(int row, int column, bool skipTopLeft) const
{
    auto it = std::upper_bound(ranges.begin(), ranges.end(), row,
                               [](int value, const CellRange &r) { return value < r.first.row; });
    for (auto i = static_cast<std::size_t>(it - ranges.begin()); i > 0 && reach[i - 1] >= row; --i) {
        const CellRange &range = ranges[i - 1];
        if (!range.contains(row, column))
            continue;
        if (skipTopLeft && range.first.row == row && range.first.column == column)
            continue;
        return &range;
    }
    return nullptr;
}

void CellWriteGuard::finish()
{
    m_merged.finish();
    m_arrays.finish();
    m_tableHeaders.finish();
    std::sort(m_masters.begin(), m_masters.end(), [](const CellPosition &a, const CellPosition &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
}

std::optional<std::string> CellWriteGuard::refusal(int row, int column) const
{
    const std::string cell = cellReference(row, column);
    if (const CellRange *range = m_merged.find(row, column, true))
        return "单元格 " + cell + " 位于合并单元格 " + rangeReference(*range)
            + " 之内（不是其左上角），不能写入。";
    if (std::binary_search(m_masters.begin(), m_masters.end(), CellPosition{row, column},
                           [](const CellPosition &a, const CellPosition &b) {
                               return a.row != b.row ? a.row < b.row : a.column < b.column;
                           }))
        return "单元格 " + cell + " 是共享公式的主单元格，写入会破坏其他单元格的公式，不能写入。";
    if (const CellRange *range = m_arrays.find(row, column, false))
        return "单元格 " + cell + " 位于数组公式 " + rangeReference(*range) + " 之内，不能写入。";
    if (const CellRange *range = m_tableHeaders.find(row, column, false))
        return "单元格 " + cell + " 是表格 " + rangeReference(*range) + " 的标题行，不能写入。";
    return std::nullopt;
}

} // namespace quvela::spreadsheet
