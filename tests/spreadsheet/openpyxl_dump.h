// Runs dump_openpyxl.py (Debian's python3-openpyxl, an independent reader) on a workbook.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace quvela::test {

struct DumpedCell
{
    std::string kind; // n, s, b, d, f
    std::string value;
    std::string numberFormat;
    std::string bold;
    bool operator==(const DumpedCell &) const = default;
};

struct OpenpyxlDump
{
    // (sheet index, row, column) -> cell
    std::map<std::tuple<int, int, int>, DumpedCell> cells;
    // sheet names, merged ranges and orientation lines, in order
    std::vector<std::string> sheetLines;
};

// mode "formulas" or "values". Fails the test when the script does not run.
OpenpyxlDump dumpWithOpenpyxl(const std::filesystem::path &file, const char *mode);

} // namespace quvela::test
