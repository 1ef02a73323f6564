// Building BIFF8 records: little-endian fields, record headers and the cell records a
// write puts into a sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quvela::spreadsheet {

void put16(std::string &out, uint16_t value);
void put32(std::string &out, uint32_t value);
void set16(std::string &bytes, std::size_t at, uint16_t value);
void set32(std::string &bytes, std::size_t at, uint32_t value);
// A record header: type and the length of the data that follows.
void header(std::string &out, uint16_t type, std::size_t length);

// An integer as Excel stores it: RK when it fits the 30 bits, NUMBER otherwise.
std::string numberRecord(int row, int column, uint16_t xf, int32_t value);
// A run of cells of a MULRK (six bytes a cell) or MULBLANK (two bytes a cell) record,
// as one record: the single-cell form for one cell.
std::string runRecord(bool rk, int row, int firstColumn, std::string_view cellBytes);
// The STRING record holding a formula's text result, one byte a character when every
// character fits, two otherwise; nullopt when the text is no valid UTF-8 or too long
// for one record.
std::optional<std::string> stringRecord(const std::string &utf8);
// The BIFF code of an error text ("#DIV/0!"); #N/A for one it does not know.
uint8_t errorCode(const std::string &text);

} // namespace quvela::spreadsheet
