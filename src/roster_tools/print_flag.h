// The print-flag cell of a roster row.
#pragma once

#include <string_view>

namespace quvela::roster {

// A row is printed when its flag cell, read as text, is exactly "1" once the blanks
// around it are gone: the text "1", " 1 " and the number 1 flag it; "是", "1.5", "11",
// "01" and an empty cell do not.
bool isPrintFlag(std::string_view cellText);

} // namespace quvela::roster
