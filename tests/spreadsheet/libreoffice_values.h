// The values LibreOffice computes for a worksheet of a workbook (.xlsx or .xls): it
// opens the file recalculating every formula (whatever results the file stores) and
// exports the sheet as text.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quvela::test {

// rows[r][c] holds the displayed text of cell (r + 1, c + 1). nullopt when LibreOffice
// is not installed; the test then skips with a message.
// sheet counts from 1, in workbook order.
std::optional<std::vector<std::vector<std::string>>> valuesByLibreOffice(const std::filesystem::path &file,
                                                                         int sheet = 1);

} // namespace quvela::test
