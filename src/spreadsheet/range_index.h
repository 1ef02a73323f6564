// Which of many cell ranges hold a given cell: the ranges the formulas of a sheet read,
// asked for every cell a write changes. Built once, then queried; each query costs the
// logarithm of the count plus the ranges it finds, however the ranges overlap.
#pragma once

#include "spreadsheet/cell_reference.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quvela::spreadsheet {

class RangeIndex
{
public:
    // Each range with a number of the caller's (the formula it belongs to).
    void add(const CellRange &range, uint32_t owner);
    void build();
    // Calls found(owner) for every range holding the cell; stops early when found
    // returns false. Returns false when it stopped early.
    template <typename Found>
    bool find(CellPosition cell, Found &&found) const;

private:
    struct Item
    {
        CellRange range;
        uint32_t owner;
    };
    // A centred interval tree over the rows: each node keeps the ranges that contain
    // its centre row, by first row ascending and by last row descending.
    struct Node
    {
        int centre = 0;
        int left = -1;
        int right = -1;
        std::vector<uint32_t> byFirst;
        std::vector<uint32_t> byLast;
    };
    int buildNode(std::vector<uint32_t> &items);

    std::vector<Item> m_items;
    // Ranges within one row (a roster's SUM(J7:O7)), by row: most of a sheet's ranges,
    // found by a binary search instead of a node each.
    std::vector<uint32_t> m_inRow;
    std::vector<Node> m_nodes;
    int m_root = -1;
};

template <typename Found>
bool RangeIndex::find(CellPosition cell, Found &&found) const
{
    auto report = [&](uint32_t i) {
        const CellRange &r = m_items[i].range;
        return !r.contains(cell.row, cell.column) || found(m_items[i].owner);
    };
    const auto rowStart = std::lower_bound(m_inRow.begin(), m_inRow.end(), cell.row,
                                           [&](uint32_t i, int row) { return m_items[i].range.first.row < row; });
    for (auto it = rowStart; it != m_inRow.end() && m_items[*it].range.first.row == cell.row; ++it) {
        if (!report(*it))
            return false;
    }
    for (int n = m_root; n >= 0;) {
        const Node &node = m_nodes[static_cast<std::size_t>(n)];
        if (cell.row < node.centre) {
            for (uint32_t i : node.byFirst) {
                if (m_items[i].range.first.row > cell.row)
                    break;
                if (!report(i))
                    return false;
            }
            n = node.left;
        } else {
            for (uint32_t i : node.byLast) {
                if (m_items[i].range.last.row < cell.row)
                    break;
                if (!report(i))
                    return false;
            }
            n = cell.row == node.centre ? -1 : node.right;
        }
    }
    return true;
}

} // namespace quvela::spreadsheet
