#include "spreadsheet/range_index.h"

#include <algorithm>

namespace quvela::spreadsheet {

void RangeIndex::add(const CellRange &range, uint32_t owner)
{
    m_items.push_back({range, owner});
}

void RangeIndex::build()
{
    m_nodes.clear();
    m_inRow.clear();
    std::vector<uint32_t> all;
    for (uint32_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].range.first.row == m_items[i].range.last.row)
            m_inRow.push_back(i);
        else
            all.push_back(i);
    }
    std::stable_sort(m_inRow.begin(), m_inRow.end(), [&](uint32_t a, uint32_t b) {
        return m_items[a].range.first.row < m_items[b].range.first.row;
    });
    m_root = buildNode(all);
}

int RangeIndex::buildNode(std::vector<uint32_t> &items)
{
    if (items.empty())
        return -1;
    // The median of the ranges' middles: each side keeps at most half of them, so the
    // depth stays logarithmic.
    std::vector<int> middles;
    middles.reserve(items.size());
    for (uint32_t i : items)
        middles.push_back(m_items[i].range.first.row + (m_items[i].range.last.row - m_items[i].range.first.row) / 2);
    std::nth_element(middles.begin(), middles.begin() + static_cast<long>(middles.size() / 2), middles.end());
    const int centre = middles[middles.size() / 2];
    std::vector<uint32_t> left, right, here;
    for (uint32_t i : items) {
        const CellRange &r = m_items[i].range;
        if (r.last.row < centre)
            left.push_back(i);
        else if (r.first.row > centre)
            right.push_back(i);
        else
            here.push_back(i);
    }
    items.clear();
    items.shrink_to_fit();
    const int index = static_cast<int>(m_nodes.size());
    m_nodes.emplace_back();
    m_nodes[static_cast<std::size_t>(index)].centre = centre;
    std::vector<uint32_t> byLast = here;
    std::sort(here.begin(), here.end(),
              [&](uint32_t a, uint32_t b) { return m_items[a].range.first.row < m_items[b].range.first.row; });
    std::sort(byLast.begin(), byLast.end(),
              [&](uint32_t a, uint32_t b) { return m_items[a].range.last.row > m_items[b].range.last.row; });
    m_nodes[static_cast<std::size_t>(index)].byFirst = std::move(here);
    m_nodes[static_cast<std::size_t>(index)].byLast = std::move(byLast);
    const int l = buildNode(left);
    const int r = buildNode(right);
    m_nodes[static_cast<std::size_t>(index)].left = l;
    m_nodes[static_cast<std::size_t>(index)].right = r;
    return index;
}

} // namespace quvela::spreadsheet
