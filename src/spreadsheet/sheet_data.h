// The cells of one worksheet as a reader found them, whatever the file format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// A cell's value, not its display. Text is UTF-8 as the file holds it.
struct CellValue
{
    enum class Type : uint8_t { Empty, Number, Text, Boolean, Error };
    Type type = Type::Empty;
    double number = 0;       // Number; Boolean as 0 or 1
    bool isDate = false;     // a Number under a date format
    std::string text;        // Text, or the error text ("#N/A")
};

// Sparse, read-only. Rows and columns count from 1; cells outside the sheet are empty.
class SheetData
{
public:
    virtual ~SheetData() = default;
    virtual CellValue cell(int row, int column) const = 0;
    // The highest row that holds a non-empty cell (0 for an empty sheet).
    virtual int lastRow() const = 0;
    // The highest column of the row that holds a non-empty cell (0 for none).
    virtual int lastColumn(int row) const = 0;
    // Date serials count from 1904-01-01 instead of 1899-12-30.
    virtual bool uses1904Dates() const { return false; }
};

} // namespace quvela::spreadsheet
