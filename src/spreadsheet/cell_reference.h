// A1-style cell references and ranges, bounded to the largest sheet Excel allows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quvela::spreadsheet {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

struct CellPosition
{
    int row = 0;    // from 1
    int column = 0; // from 1
    bool operator==(const CellPosition &) const = default;
};

struct CellRange
{
    CellPosition first;
    CellPosition last;
    bool contains(int row, int column) const
    {
        return row >= first.row && row <= last.row && column >= first.column
            && column <= last.column;
    }
};

// "AB12" (an optional "$" before each part); nullopt when malformed or outside the sheet.
std::optional<CellPosition> parseCellReference(std::string_view text);
// The column letters alone ("AB" -> 28), as a cell reference starts.
std::optional<int> parseColumnLetters(std::string_view text);
// "A1:B2" or a single cell; the corners are put in order.
std::optional<CellRange> parseCellRange(std::string_view text);

std::string columnLetters(int column);
std::string cellReference(int row, int column);
std::string rangeReference(const CellRange &range);

} // namespace quvela::spreadsheet
