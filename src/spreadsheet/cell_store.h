// Compact sparse storage of a sheet's non-empty cells, filled row by row by a reader.
#pragma once

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/sheet_data.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quvela::spreadsheet {

class CellStore final : public SheetData
{
public:
    // Bounds that keep a hostile file from taking unbounded memory.
    static constexpr std::size_t kMaxCells = 6'000'000;
    static constexpr std::size_t kMaxTextBytes = 512u << 20;

    // Texts that many cells share (a shared-string table) are added once and referred
    // to by index. Throws WorkbookOpenError past the bounds.
    uint32_t addText(std::string text);
    void reserveTexts(std::size_t count) { m_texts.reserve(count); }
    std::size_t textCount() const { return m_borrowedCount + m_texts.size(); }
    // For another sheet of the same workbook: its first count texts are those of first
    // (the workbook's shared strings), which must outlive this store. Call before any
    // text is added.
    void borrowTexts(const CellStore &first, std::size_t count);

    void setNumber(int row, int column, double number, bool isDate);
    void setBoolean(int row, int column, bool value);
    void setText(int row, int column, uint32_t textIndex);
    void setError(int row, int column, uint32_t textIndex);
    // Call once after the last cell: puts out-of-order cells in place (a later cell at
    // the same position wins).
    void finish();
    void set1904Dates(bool on) { m_date1904 = on; }

    CellValue cell(int row, int column) const override;
    // Every non-empty cell in row and column order, as visit(row, column, value); call
    // after finish().
    template <typename Visit>
    void forEachCell(Visit &&visit) const
    {
        CellValue value;
        for (const Row &r : m_rows) {
            for (uint32_t i = 0; i < r.count; ++i) {
                const Cell &c = at(r.first + i);
                toValue(c, value);
                visit(r.row, static_cast<int>(c.column), value);
            }
        }
    }
    // The same for the non-empty cells inside a range.
    template <typename Visit>
    void forEachCellIn(const CellRange &range, Visit &&visit) const
    {
        CellValue value;
        auto r = std::lower_bound(m_rows.begin(), m_rows.end(), range.first.row,
                                  [](const Row &row, int wanted) { return row.row < wanted; });
        for (; r != m_rows.end() && r->row <= range.last.row; ++r) {
            uint32_t lo = r->first;
            uint32_t hi = r->first + r->count;
            while (lo < hi) {
                const uint32_t mid = lo + (hi - lo) / 2;
                if (at(mid).column < range.first.column)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            for (; lo < r->first + r->count && at(lo).column <= range.last.column; ++lo) {
                toValue(at(lo), value);
                visit(r->row, static_cast<int>(at(lo).column), value);
            }
        }
    }
    int lastRow() const override;
    int lastColumn(int row) const override;
    bool uses1904Dates() const override { return m_date1904; }

    std::size_t cellCount() const { return m_cellCount; }
    // False when the file listed rows or cells out of order or twice.
    bool wasInOrder() const { return m_inOrder; }

private:
    enum Kind : uint8_t { Number, Date, Boolean, Text, Error };
    struct Cell
    {
        uint16_t column;
        Kind kind;
        union {
            double number;
            uint32_t text;
        };
    };
    struct Row
    {
        int32_t row;
        uint32_t first; // index of its first cell
        uint32_t count;
    };
    static constexpr std::size_t kBlockBits = 16;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;

    void add(int row, const Cell &cell);
    Cell &at(std::size_t index) { return m_blocks[index >> kBlockBits][index & (kBlockSize - 1)]; }
    const Cell &at(std::size_t index) const
    {
        return m_blocks[index >> kBlockBits][index & (kBlockSize - 1)];
    }
    const Row *findRow(int row) const;
    void toValue(const Cell &c, CellValue &value) const;
    const std::string &text(uint32_t index) const
    {
        return index < m_borrowedCount ? m_borrowed->m_texts[index] : m_texts[index - m_borrowedCount];
    }

    // Fixed-size blocks: growing never copies the cells already read, which keeps the
    // peak memory of a large sheet near the size of its cells.
    std::vector<std::unique_ptr<Cell[]>> m_blocks;
    std::size_t m_cellCount = 0;
    std::vector<Row> m_rows;
    std::vector<std::string> m_texts;
    std::size_t m_textBytes = 0;
    const CellStore *m_borrowed = nullptr;
    std::size_t m_borrowedCount = 0;
    bool m_inOrder = true;
    bool m_date1904 = false;
};

} // namespace quvela::spreadsheet
