// The A1 text of a BIFF8 formula, from the tokens the file stores it as, for the
// formula engine to compute.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// The text without the leading "=", in UTF-8, of the tokens of a formula in the cell
// (row, column), both counting from 0; tokens relative to the cell (a shared formula's)
// are resolved against it. nullopt for tokens the text cannot be made of here: names,
// other sheets, functions outside the table below, arrays, data tables, an anchor
// (ptgExp, whose tokens are elsewhere), damage, and a text that outgrows what the
// formula engine accepts. budget: bytes of text the call may still build, lessened by
// what it builds; nullopt once it is spent.
std::optional<std::string> xlsFormulaText(std::string_view tokens, int row, int column, std::size_t &budget);

} // namespace quvela::spreadsheet
