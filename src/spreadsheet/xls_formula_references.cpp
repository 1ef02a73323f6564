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

std::optional<std::string> xlsStandaloneTokens(std::string_view tokens, int row, int column)
{
    std::string out;
    std::size_t at = 0;
    auto need = [&](std::size_t n) { return at + n <= tokens.size(); };
    auto put = [&](uint16_t value) {
        out.push_back(static_cast<char>(value & 0xFF));
        out.push_back(static_cast<char>(value >> 8));
    };
    auto absolute = [&](uint16_t r, uint16_t columnField) {
        const Location l = location(r, columnField, true, row, column);
        put(static_cast<uint16_t>(l.row));
        put(static_cast<uint16_t>((columnField & 0xC000) | l.column));
    };
    while (at < tokens.size()) {
        const uint8_t ptg = static_cast<uint8_t>(tokens[at]);
        const uint8_t base = ptg >= 0x20 ? static_cast<uint8_t>((ptg & 0x1F) | 0x20) : ptg;
        if (base == 0x2C || base == 0x2D) {
            const std::size_t size = base == 0x2C ? 4 : 8;
            if (!need(1 + size))
                return std::nullopt;
            out.push_back(static_cast<char>(ptg - 0x08)); // the plain form of the same class
            if (base == 0x2C) {
                absolute(xlsU16(tokens, at + 1), xlsU16(tokens, at + 3));
            } else {
                const uint16_t firstRow = xlsU16(tokens, at + 1);
                const uint16_t lastRow = xlsU16(tokens, at + 3);
                const uint16_t firstColumn = xlsU16(tokens, at + 5);
                const uint16_t lastColumn = xlsU16(tokens, at + 7);
                const Location first = location(firstRow, firstColumn, true, row, column);
                const Location last = location(lastRow, lastColumn, true, row, column);
                put(static_cast<uint16_t>(first.row));
                put(static_cast<uint16_t>(last.row));
                put(static_cast<uint16_t>((firstColumn & 0xC000) | first.column));
                put(static_cast<uint16_t>((lastColumn & 0xC000) | last.column));
            }
            at += 1 + size;
            continue;
        }
        // Every other token is copied as it is.
        std::size_t size = 0;
        switch (base) {
        case 0x17:
            if (!need(3))
                return std::nullopt;
            size = 2 + static_cast<std::size_t>(static_cast<uint8_t>(tokens[at + 1]))
                * ((tokens[at + 2] & 0x01) ? 2 : 1);
            break;
        case 0x19:
            if (!need(4))
                return std::nullopt;
            size = 3 + ((tokens[at + 1] & 0x04) ? (static_cast<std::size_t>(xlsU16(tokens, at + 2)) + 1) * 2 : 0);
            break;
        case 0x1C: case 0x1D: size = 1; break;
        case 0x1E: size = 2; break;
        case 0x1F: size = 8; break;
        case 0x20: size = 7; break;
        case 0x21: case 0x29: size = 2; break;
        case 0x22: size = 3; break;
        case 0x24: case 0x2A: size = 4; break;
        case 0x25: case 0x2B: size = 8; break;
        case 0x26: case 0x27: case 0x28: size = 6; break;
        default:
            if (base >= 0x03 && base <= 0x16) // operators, parentheses, a missing argument
                break;
            return std::nullopt; // names, other sheets, anchors and the unknown
        }
        if (!need(1 + size))
            return std::nullopt;
        out.append(tokens.substr(at, 1 + size));
        at += 1 + size;
    }
    return out;
}

} // namespace quvela::spreadsheet
