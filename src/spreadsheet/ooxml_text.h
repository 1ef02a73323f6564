// Text as the workbook XML stores it.
#pragma once

#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// Replaces "_xHHHH_" escapes by the character they name ("_x000D_" is a carriage
// return; "_x005F_" is the "_" that keeps a literal "_x...." from being read as one).
std::string unescapeOoxml(std::string_view text);

bool isValidUtf8(std::string_view text);

} // namespace quvela::spreadsheet
