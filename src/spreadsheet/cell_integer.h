// The integer of a cell, as the tools' integer reading promises.
#pragma once

#include "spreadsheet/sheet_data.h"

#include <cstdint>

namespace quvela::spreadsheet {

// A number to its nearest integer, halves to the even neighbour (12.5 gives 12); a text
// that spells a number (optionally signed, after optional leading blanks) the same way;
// 0 for an empty
// cell; TRUE as -1 and FALSE as 0, as an automation value converts. Anything else, and
// any result outside 32 bits, throws ConversionError "'%s' is not a valid integer value"
// with the cell's text (GBK).
int32_t cellInteger(const CellValue &value, bool date1904);

} // namespace quvela::spreadsheet
