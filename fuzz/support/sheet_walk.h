// What every reader's fuzz target does with a sheet it managed to read.
#pragma once

#include "spreadsheet/sheet_data.h"

#include <string>
#include <vector>

namespace quvela::fuzz {

// Reads every cell as text and as an integer, the way the tools do. Returns the texts,
// row by row; stops after a bounded number of cell look-ups so that a sheet spread over
// a million rows does not make one input run for minutes.
std::vector<std::vector<std::string>> walkSheet(const spreadsheet::SheetData &sheet);

} // namespace quvela::fuzz
