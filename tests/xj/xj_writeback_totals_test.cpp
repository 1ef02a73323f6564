// The example roster keeps its row totals as filled-down formulas: write-back takes it
// without a refusal, and afterwards every reader sees totals that agree with the
// figures written, our own reader and openpyxl (an independent one) alike.
#include "spreadsheet/spreadsheet_session.h"
#include "xj/xj_adjust.h"
#include "xj/xj_import.h"
#include "xj/xj_program_folder.h"
#include "xj/xj_writeback.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

using namespace quvela;
using namespace quvela::xj;
using namespace quvela::test;

namespace {

// (row, column) -> the stored value openpyxl reads, for rows 7 to 31.
std::map<std::pair<int, int>, double> storedByOpenpyxl(const std::filesystem::path &book)
{
    const std::string script =
        "import openpyxl,sys\n"
        "ws=openpyxl.load_workbook(sys.argv[1],data_only=True).worksheets[0]\n"
        "for r in range(7,32):\n"
        "  for c in range(1,33):\n"
        "    v=ws.cell(r,c).value\n"
        "    if isinstance(v,(int,float)) and not isinstance(v,bool): print(r,c,repr(float(v)))\n";
    const std::string command = "/usr/bin/python3 -c '" + script + "' '" + book.string() + "'";
    std::map<std::pair<int, int>, double> values;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << command;
        return values;
    }
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    std::istringstream lines(out);
    int row = 0, column = 0;
    double value = 0;
    while (lines >> row >> column >> value)
        values[{row, column}] = value;
    return values;
}

class XjWriteBackTotals : public XjProgramFolder
{
};

TEST_F(XjWriteBackTotals, TheExampleRosterTotalsAgreeWithTheWrittenAmounts)
{
    const auto book = dir / "xj-roster.xlsx";
    std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx", book);
    prompts.fileChoices = {gbk::fromPath(book)};
    ASSERT_TRUE(importRoster(prompts, ini, settings, "7", "30", *table).completed);
    ASSERT_TRUE(adjustSalaryGrades(prompts, settings, *table));
    prompts.shown.clear();
    ASSERT_TRUE(writeBackRoster(prompts, ini, settings, "7", "30", *table));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{"wait: 正在写入数据到excel表，请稍等......",
                                                    "message: OK!!! 数据保存完毕。"}));

    spreadsheet::SpreadsheetSession ours;
    ours.open(book);
    const auto theirs = storedByOpenpyxl(book);
    const auto value = [&](int row, int column) { return ours.readCellInteger(row, column); };
    const auto stored = [&](int row, int column) {
        const auto it = theirs.find({row, column});
        return it == theirs.end() ? 0.0 : it->second;
    };
    // Q = S + U + V + W (合计 after), X = Y + Z + AA (增资合计), J = L + N + O + P; row 31
    // sums each of them over rows 7 to 30.
    const struct { int total; std::vector<int> parts; } totals[] = {
        {17, {19, 21, 22, 23}}, {24, {25, 26, 27}}, {10, {12, 14, 15, 16}}};
    int written = 0;
    const auto rows = storedRows();
    for (const auto &t : totals) {
        long long sum = 0;
        for (int r = 7; r <= 30; ++r) {
            long long expected = 0;
            for (int part : t.parts)
                expected += value(r, part);
            EXPECT_EQ(value(r, t.total), expected) << "row " << r << " column " << t.total << " by our reader";
            EXPECT_EQ(stored(r, t.total), static_cast<double>(expected)) << "row " << r << " column " << t.total
                                                                         << " by openpyxl";
            sum += expected;
            if (t.total == 17 && rows.at(r - 7).sftz == 1) {
                EXPECT_EQ(value(r, 21), rows.at(r - 7).xjgz2);
                ++written;
            }
        }
        EXPECT_EQ(value(31, t.total), sum) << "column " << t.total;
        EXPECT_EQ(stored(31, t.total), static_cast<double>(sum)) << "column " << t.total;
    }
    EXPECT_GT(written, 15);
}

} // namespace
