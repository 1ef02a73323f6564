// The cell references inside an A1 formula text, found without evaluating anything:
// enough to copy a formula to another cell keeping every other byte as written, and
// to know which cells a formula reads when the engine cannot read it itself.
#pragma once

#include "spreadsheet/cell_reference.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

struct FormulaReference
{
    std::size_t offset = 0; // of the reference itself, after any sheet prefix
    std::size_t length = 0;
    CellRange range;        // a single cell has first == last
    bool otherSheet = false; // a sheet or workbook prefix other than this sheet's
    std::string sheet;       // the sheet the prefix names (another workbook's too); empty without one
    bool external = false;   // the prefix names a sheet of another workbook ("[1]Sheet1!A1")
    bool wholeColumns = false; // "A:C": rows 1 to the last
    bool wholeRows = false;    // "3:5": columns A to the last
    // A defined name or a table ("工资总额", "表1[合计]"): what it covers is not in the
    // formula, so it is taken to read the whole sheet.
    bool name = false;
};

class FormulaReferences
{
public:
    // ownSheet: the sheet's name; a prefix naming it is not "another sheet".
    // Scans in one pass without recursion, whatever the text holds.
    static std::vector<FormulaReference> find(std::string_view formula,
                                              std::string_view ownSheet = {});

    // The text as a fill copies it by the given distance: the relative parts of every
    // reference move, the absolute ones ($) stay, everything else is kept byte for
    // byte. nullopt when a moved reference would leave the sheet.
    static std::optional<std::string> shifted(std::string_view formula, int rows, int columns);
};

} // namespace quvela::spreadsheet
