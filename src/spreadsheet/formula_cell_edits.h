// What a save changes in formula cells besides the values written: a formula that
// must be spelled out anew, and results that the written values made different.
#pragma once

#include "spreadsheet/sheet_data.h"

#include <map>
#include <optional>
#include <string>

namespace quvela::spreadsheet {

struct FormulaCellEdit
{
    // A new formula element: its attributes (raw XML, each with a leading blank) and
    // its text (UTF-8, not escaped). Without one the cell keeps its formula as it is.
    std::optional<std::string> formulaAttributes;
    std::string formulaText;
    // Replaces the stored result: with the value, or with none when result is empty.
    bool replaceResult = false;
    std::optional<CellValue> result;
};

// row -> column -> edit, both counting from 1
using FormulaCellEdits = std::map<int, std::map<int, FormulaCellEdit>>;

} // namespace quvela::spreadsheet
