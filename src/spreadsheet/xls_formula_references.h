// The cells a BIFF8 formula reads, taken from its parsed tokens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

// Rows and columns count from 0, as the file stores them; corners in order.
struct XlsArea
{
    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = 0;
    int lastColumn = 0;
};

struct XlsFormulaReferences
{
    std::vector<XlsArea> areas;
    // Names, references into other sheets and tokens this walker does not know: the
    // formula may read any cell.
    bool unknown = false;
    // The formula stands for a shared or array formula anchored at this cell.
    bool isExp = false;
    int expRow = 0;
    int expColumn = 0;
};

// The references of the tokens. Tokens relative to the cell (the shared-formula forms)
// are resolved against baseRow and baseColumn. Never reads outside tokens.
XlsFormulaReferences xlsFormulaReferences(std::string_view tokens, int baseRow, int baseColumn);

// The tokens of a shared formula as the formula of one of its cells on its own: each
// reference relative to the cell becomes the plain reference it stands for there, its
// relative flags kept. nullopt when a token cannot be followed or turned.
std::optional<std::string> xlsStandaloneTokens(std::string_view sharedTokens, int row, int column);

} // namespace quvela::spreadsheet
