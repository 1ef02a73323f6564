#include "spreadsheet/xls_formula_references.h"

#include "spreadsheet/xls_record_stream.h"

#include <algorithm>

namespace quvela::spreadsheet {
namespace {

constexpr int kRows = 65536;
constexpr int kColumns = 256;

struct Location
{
    int row;
    int column;
};

// A row and a column field of a reference token: absolute, or with the relative flags
// an offset from the base cell (wrapping around the sheet as the file format does).
Location location(uint16_t row, uint16_t columnField, bool relativeForm, int baseRow, int baseColumn)
{
    const bool rowRelative = columnField & 0x8000;
    const bool columnRelative = columnField & 0x4000;
    int r = row;
    int c = columnField & 0x00FF;
    if (relativeForm) {
        if (rowRelative)
            r = ((baseRow + static_cast<int16_t>(row)) % kRows + kRows) % kRows;
        if (columnRelative)
            c = ((baseColumn + static_cast<int8_t>(columnField & 0xFF)) % kColumns + kColumns) % kColumns;
    }
    return {r, c};
}

XlsArea area(Location a, Location b)
{
    return {std::min(a.row, b.row), std::max(a.row, b.row), std::min(a.column, b.column),
            std::max(a.column, b.column)};
}

} // namespace

XlsFormulaReferences xlsFormulaReferences(std::string_view tokens, int baseRow, int baseColumn)
{
    XlsFormulaReferences result;
    std::size_t at = 0;
    auto need = [&](std::size_t n) { return at + n <= tokens.size(); };
    while (at < tokens.size()) {
        const uint8_t ptg = static_cast<uint8_t>(tokens[at++]);
        const uint8_t base = ptg >= 0x20 ? static_cast<uint8_t>((ptg & 0x1F) | 0x20) : ptg;
        std::size_t size = 0;
        switch (base) {
        case 0x01: // a shared or array formula's anchor
            if (!need(4)) {
                result.unknown = true;
                return result;
            }
            result.isExp = true;
            result.expRow = xlsU16(tokens, at);
            result.expColumn = xlsU16(tokens, at + 2) & 0xFF;
            size = 4;
            break;
        case 0x02: // data table
            result.unknown = true;
            return result;
        case 0x17: { // text
            if (!need(2)) {
                result.unknown = true;
                return result;
            }
            const std::size_t chars = static_cast<uint8_t>(tokens[at]);
            size = 2 + chars * ((tokens[at + 1] & 0x01) ? 2 : 1);
            break;
        }
        case 0x19: { // attributes; a CHOOSE jump table follows its count
            if (!need(3)) {
                result.unknown = true;
                return result;
            }
            size = 3;
            if (tokens[at] & 0x04)
                size += (static_cast<std::size_t>(xlsU16(tokens, at + 1)) + 1) * 2;
            break;
        }
        case 0x1C: case 0x1D: size = 1; break;
        case 0x1E: size = 2; break;
        case 0x1F: size = 8; break;
        case 0x20: size = 7; break;
        case 0x21: case 0x29: size = 2; break;
        case 0x22: size = 3; break;
        case 0x26: case 0x27: case 0x28: size = 6; break;
        case 0x2A: size = 4; break;
        case 0x2B: size = 8; break;
        case 0x24: case 0x2C: // a cell, absolute or relative to the formula's cell
            if (!need(4)) {
                result.unknown = true;
                return result;
            }
            {
                const Location l = location(xlsU16(tokens, at), xlsU16(tokens, at + 2), base == 0x2C,
                                            baseRow, baseColumn);
                result.areas.push_back(area(l, l));
            }
            size = 4;
            break;
        case 0x25: case 0x2D: // an area
            if (!need(8)) {
                result.unknown = true;
                return result;
            }
            result.areas.push_back(area(location(xlsU16(tokens, at), xlsU16(tokens, at + 4), base == 0x2D,
                                                 baseRow, baseColumn),
                                        location(xlsU16(tokens, at + 2), xlsU16(tokens, at + 6),
                                                 base == 0x2D, baseRow, baseColumn)));
            size = 8;
            break;
        case 0x23: case 0x39: case 0x3A: case 0x3B: case 0x3C: case 0x3D:
            // Names and other sheets' references: whatever they read is not followed.
            result.unknown = true;
            return result;
        default:
            if (base >= 0x03 && base <= 0x16) { // operators, parentheses, a missing argument
                size = 0;
                break;
            }
            result.unknown = true;
            return result;
        }
        if (!need(size)) {
            result.unknown = true;
            return result;
        }
        at += size;
    }
    return result;
}

} // namespace quvela::spreadsheet
