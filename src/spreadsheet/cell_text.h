// The text and the integer of a cell, as the tools read them, whatever the file format.
#pragma once

#include "spreadsheet/sheet_data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// UTF-8 text of a cell's value:
// - a whole number as plain digits (1200), a fraction with a decimal point and at most
//   15 significant digits (0.30000000000000004 gives 0.3), never a locale's separators;
//   magnitudes of 1e21 and above, or below 1e-20, in exponent form (1.5E+21);
// - a number under a date format as "yyyy-M-d", followed by " H:mm:ss" when it has a
//   time of day; a time alone (1900 system, under one day) as "H:mm:ss"; a serial
//   outside 1900-1-1 .. 9999-12-31 as the plain number. The 1900 system counts the
//   fictitious 1900-2-29 (serial 60) like the spreadsheet applications do;
// - booleans as TRUE / FALSE, errors as their text (#N/A), text unchanged.
std::string cellText(const CellValue &value, bool date1904);

// The number part of the rules above.
std::string formatNumber(double number);
// nullopt when the serial is outside the dates the applications show.
std::optional<std::string> formatDateSerial(double serial, bool date1904);

// A number as files store it ("12", "-0.5", "1.2E+3"), locale-free; nullopt for anything
// else, including infinities and NaN.
std::optional<double> parseNumber(std::string_view text);

} // namespace quvela::spreadsheet
