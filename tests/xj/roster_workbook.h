// Small roster workbooks for the tests, written with libxlsxwriter in the layout of the
// default column map: worksheet column k holds field k (A sequence number, B name ...).
#pragma once

#include "support/xlsx_rows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quvela::test {

// A person as wage offices fill the roster: numbers as numbers, grades and year-months
// partly as text, some amounts left empty.
inline Cells person(int xh, const std::string &name)
{
    Cells c;
    c[1] = double(xh);
    c[2] = name;
    c[3] = std::string("男");
    c[4] = std::string("1970.05");
    c[5] = 199107.0;
    c[6] = std::string("199107");
    c[7] = std::string("合格");
    c[8] = std::string("科员");
    c[9] = std::string("2005.07");
    c[10] = 714.0; // heji1
    c[11] = std::string("8");
    c[12] = 590.0; // gwgz1
    c[13] = 4.0;   // xjdj1
    c[14] = 113.0; // xjgz1
    c[15] = 11.0;  // bf101
    c[17] = 714.0; // heji2
    c[18] = std::string("8");
    c[19] = 590.0; // gwgz2
    c[20] = 4.0;   // xjdj2
    c[21] = 113.0; // xjgz2
    c[22] = 11.0;  // bf102
    c[30] = 2.0;   // zwlb
    c[31] = 1.0;   // sftz
    c[32] = std::string("大学");
    return c;
}

// The rows of a roster with its heading rows 1 to 6 above them.
inline void writeRoster(const std::filesystem::path &file, const std::vector<SheetRow> &rows)
{
    writeRosterBook(file, {"薪级工资调整花名册", "2010年事业单位工作人员正常增加薪级工资花名册", {{1, "序号"}, {2, "姓名"}}, 32},
                    rows);
}

} // namespace quvela::test
