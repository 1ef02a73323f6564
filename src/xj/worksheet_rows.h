// The end of a row range as far as a worksheet holds anything.
#pragma once

#include <algorithm>
#include <cstdint>

namespace quvela::xj {

// Rows past the last one that holds a cell have no sequence number, so the import and
// the write-back pass them by anyway. Ending there keeps an end row such as 2000000000
// from running on through empty rows.
constexpr int32_t lastRowOfRange(int32_t end, int32_t lastFilledRow)
{
    return std::min(end, lastFilledRow);
}

} // namespace quvela::xj
