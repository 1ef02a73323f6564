// Integers waiting to be written into a worksheet when its workbook is saved.
#pragma once

#include <cstdint>
#include <map>

namespace quvela::spreadsheet {

// row -> column -> value, both counting from 1
using PendingWrites = std::map<int, std::map<int, int32_t>>;

} // namespace quvela::spreadsheet
