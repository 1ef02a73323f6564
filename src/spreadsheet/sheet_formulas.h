// The formula cells of a worksheet as the file keeps them: each cell's own text, or
// its place in a filled-down (shared) formula whose first cell holds the text.
#pragma once

#include "spreadsheet/cell_reference.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quvela::spreadsheet {

struct SheetFormula
{
    enum class Kind : uint8_t { Own, SharedFirst, Shared, Array };
    CellPosition cell;
    Kind kind = Kind::Own;
    bool hasResult = false;  // the file stores a value beside the formula
    uint32_t group = 0;      // Shared, SharedFirst: the file's group number (si)
    CellRange range;         // SharedFirst, Array: the cells the formula covers
    std::string text;        // Own, SharedFirst, Array: as written, without "="
};

class SheetFormulas
{
public:
    // Bounds that keep a hostile file from taking unbounded memory.
    static constexpr std::size_t kMaxFormulas = 2'000'000;
    static constexpr std::size_t kMaxTextBytes = 256u << 20;

    // Throws WorkbookOpenError past the bounds.
    void add(SheetFormula formula);
    // Call after the last add: orders the cells by row and column.
    void finish();

    const std::vector<SheetFormula> &all() const { return m_formulas; }
    // Whether every formula has its stored result, so that reading needs no formula at all
    // (files saved by a spreadsheet program).
    bool allHaveResults() const { return m_withoutResult == 0; }
    const SheetFormula *find(int row, int column) const;
    // The first cell of a shared group; nullptr when the file has none.
    const SheetFormula *groupFirst(uint32_t group) const;
    // The text of the formula in the cell's own position, a shared one translated from
    // its group's first cell; nullopt when it cannot be known (no first cell, a
    // reference that would leave the sheet).
    std::optional<std::string> textAt(const SheetFormula &formula) const;
    // The same for a formula engine: an array formula's value fills a range, which an
    // engine computing single values must not take for its value, so it comes wrapped
    // in a function no engine has.
    std::optional<std::string> engineText(const SheetFormula &formula) const;

private:
    std::vector<SheetFormula> m_formulas;
    std::unordered_map<uint32_t, std::size_t> m_groupFirsts; // group number -> index
    std::size_t m_textBytes = 0;
    std::size_t m_withoutResult = 0;
};

} // namespace quvela::spreadsheet
