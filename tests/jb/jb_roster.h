// Small JB rosters for the tests: the headings of rows 1 to 6 and persons from row 7 in
// the fixed columns of the normal step or of the rolling promotion.
#pragma once

#include "support/xlsx_rows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quvela::test {

// A civil servant one step up: duty wage 830 in columns 12 and 16.
inline Cells normalStepPerson(const std::string &name)
{
    Cells c;
    c[1] = 1.0;
    c[2] = name;
    c[3] = std::string("男");
    c[4] = 197005.0;
    c[5] = std::string("1991.07");
    c[6] = std::string("199107");
    c[9] = std::string("主任科员");
    c[10] = std::string("200403");
    c[11] = 1620.0;
    c[12] = 830.0;
    c[13] = std::string("3");
    c[14] = 790.0;
    c[15] = 1680.0;
    c[16] = 830.0;
    c[17] = std::string("4");
    c[18] = 850.0;
    c[19] = 60.0;
    c[22] = 1.0;
    c[23] = std::string("大学");
    return c;
}

// A rolling promotion: rank 20-3 at 1020 to 19-3 at 1100, duty wage 640.
inline Cells rollingPerson(const std::string &name)
{
    Cells c;
    c[1] = 1.0;
    c[2] = name;
    c[3] = std::string("科员");
    c[7] = std::string("21-3");
    c[8] = 960.0;
    c[11] = std::string("副主任科员");
    c[12] = std::string("20-3");
    c[13] = 1020.0;
    c[17] = std::string("19-3");
    c[18] = 1100.0;
    c[19] = 80.0;
    c[22] = 1.0;
    c[23] = std::string("女");
    c[24] = std::string("1975.11");
    c[25] = 199608.0;
    c[26] = std::string("199608");
    c[27] = std::string("研究生");
    c[28] = std::string("20061");
    c[29] = 640.0;
    return c;
}

inline void writeJbRoster(const std::filesystem::path &file, const std::vector<SheetRow> &rows)
{
    writeRosterBook(file, {"级别工资", "机关工作人员级别工资正常晋升花名册", {{1, "序号"}, {2, "姓名"}}, 29}, rows);
}

} // namespace quvela::test
