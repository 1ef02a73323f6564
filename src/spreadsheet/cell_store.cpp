#include "spreadsheet/cell_store.h"

#include "spreadsheet/spreadsheet_session.h"

#include <algorithm>

namespace quvela::spreadsheet {

namespace {
[[noreturn]] void tooLarge()
{
    throw WorkbookOpenError(gbk::fromUtf8("工作表太大，无法读取。"));
}
} // namespace

uint32_t CellStore::addText(std::string text)
{
    m_textBytes += text.size();
    if (m_texts.size() >= kMaxCells || m_textBytes > kMaxTextBytes)
        tooLarge();
    m_texts.push_back(std::move(text));
    return static_cast<uint32_t>(textCount() - 1);
}

void CellStore::borrowTexts(const CellStore &first, std::size_t count)
{
    m_borrowed = &first;
    m_borrowedCount = std::min(count, first.m_texts.size());
}

void CellStore::add(int row, const Cell &cell)
{
    if (m_cellCount >= kMaxCells)
        tooLarge();
    if (m_rows.empty() || row > m_rows.back().row) {
        m_rows.push_back({row, static_cast<uint32_t>(m_cellCount), 0});
    } else if (row < m_rows.back().row) {
        m_inOrder = false;
        m_rows.push_back({row, static_cast<uint32_t>(m_cellCount), 0});
    } else if (cell.column <= at(m_cellCount - 1).column) {
        m_inOrder = false;
    }
    if ((m_cellCount & (kBlockSize - 1)) == 0)
        m_blocks.push_back(std::make_unique<Cell[]>(kBlockSize));
    at(m_cellCount++) = cell;
    ++m_rows.back().count;
}

void CellStore::setNumber(int row, int column, double number, bool isDate)
{
    Cell cell{static_cast<uint16_t>(column), isDate ? Date : Number, {}};
    cell.number = number;
    add(row, cell);
}

void CellStore::setBoolean(int row, int column, bool value)
{
    Cell cell{static_cast<uint16_t>(column), Boolean, {}};
    cell.number = value ? 1 : 0;
    add(row, cell);
}

void CellStore::setText(int row, int column, uint32_t textIndex)
{
    if (textIndex >= textCount() || text(textIndex).empty())
        return; // an empty text is an empty cell
    Cell cell{static_cast<uint16_t>(column), Text, {}};
    cell.text = textIndex;
    add(row, cell);
}

void CellStore::setError(int row, int column, uint32_t textIndex)
{
    if (textIndex >= textCount())
        return;
    Cell cell{static_cast<uint16_t>(column), Error, {}};
    cell.text = textIndex;
    add(row, cell);
}

void CellStore::finish()
{
    if (m_inOrder)
        return;
    // Rare: a producer that wrote rows or cells out of order, or twice. Rebuild sorted,
    // the last occurrence of a position winning as it would when the file is loaded.
    struct Placed
    {
        int32_t row;
        uint32_t order;
        Cell cell;
    };
    std::vector<Placed> all;
    all.reserve(m_cellCount);
    for (const Row &row : m_rows) {
        for (uint32_t i = 0; i < row.count; ++i)
            all.push_back({row.row, row.first + i, at(row.first + i)});
    }
    std::stable_sort(all.begin(), all.end(), [](const Placed &a, const Placed &b) {
        if (a.row != b.row)
            return a.row < b.row;
        if (a.cell.column != b.cell.column)
            return a.cell.column < b.cell.column;
        return a.order < b.order;
    });
    m_blocks.clear();
    m_rows.clear();
    m_cellCount = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i + 1 < all.size() && all[i + 1].row == all[i].row
            && all[i + 1].cell.column == all[i].cell.column)
            continue;
        if (m_rows.empty() || m_rows.back().row != all[i].row)
            m_rows.push_back({all[i].row, static_cast<uint32_t>(m_cellCount), 0});
        if ((m_cellCount & (kBlockSize - 1)) == 0)
            m_blocks.push_back(std::make_unique<Cell[]>(kBlockSize));
        at(m_cellCount++) = all[i].cell;
        ++m_rows.back().count;
    }
}

const CellStore::Row *CellStore::findRow(int row) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                                     [](const Row &r, int value) { return r.row < value; });
    if (it == m_rows.end() || it->row != row || it->count == 0)
        return nullptr;
    return &*it;
}

CellValue CellStore::cell(int row, int column) const
{
    CellValue value;
    const Row *r = findRow(row);
    if (!r)
        return value;
    uint32_t lo = r->first;
    uint32_t hi = r->first + r->count;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (at(mid).column < column)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == r->first + r->count || at(lo).column != column)
        return value;
    toValue(at(lo), value);
    return value;
}

void CellStore::toValue(const Cell &c, CellValue &value) const
{
    value.isDate = false;
    value.number = 0;
    value.text.clear();
    switch (c.kind) {
    case Number:
    case Date:
        value.type = CellValue::Type::Number;
        value.number = c.number;
        value.isDate = c.kind == Date;
        break;
    case Boolean:
        value.type = CellValue::Type::Boolean;
        value.number = c.number;
        break;
    case Text:
        value.type = CellValue::Type::Text;
        value.text = text(c.text);
        break;
    case Error:
        value.type = CellValue::Type::Error;
        value.text = text(c.text);
        break;
    }
}

int CellStore::lastRow() const
{
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it) {
        if (it->count > 0)
            return it->row;
    }
    return 0;
}

int CellStore::lastColumn(int row) const
{
    const Row *r = findRow(row);
    return r ? at(r->first + r->count - 1).column : 0;
}

} // namespace quvela::spreadsheet
