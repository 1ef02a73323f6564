// The end of a row range as far as a worksheet can reach.
#pragma once

#include <algorithm>
#include <cstdint>

namespace quvela::xj {

// No worksheet has rows past 1,048,576, so a range reaching beyond it has nothing more
// to read there. Stopping at that row keeps an end row such as 2000000000 from running
// on through empty rows for hours.
inline constexpr int32_t kLastWorksheetRow = 1'048'576;

constexpr int32_t lastRowOfRange(int32_t end)
{
    return std::min(end, kLastWorksheetRow);
}

} // namespace quvela::xj
