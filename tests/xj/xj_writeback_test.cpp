#include "common/column_map.h"
#include "spreadsheet/spreadsheet_session.h"
#include "xj/roster_workbook.h"
#include "xj/xj_adjust.h"
#include "xj/xj_column_settings.h"
#include "xj/xj_import.h"
#include "xj/xj_program_folder.h"
#include "xj/xj_writeback.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

using namespace quvela;
using namespace quvela::xj;
using namespace quvela::test;

namespace {

const char *const kWait = "wait: 正在写入数据到excel表，请稍等......";
const char *const kSaved = "message: OK!!! 数据保存完毕。";
const char *const kFailed = "message: 回写数据错误！";
const char *const kFirstRow = "message: Excel数据表与上表格数据对不上号，请检查开始行号！\n\n"
                              "Excel数据表开始行对应上表第一行。";

// (row, column) -> new value as the independent reader shows it.
using Changes = std::map<std::pair<int, int>, std::string>;

// The cells of the first worksheet that changed between two workbook files, read by
// openpyxl; any change in another worksheet fails the test.
Changes changedCells(const std::filesystem::path &before, const std::filesystem::path &after)
{
    const std::string command = "/usr/bin/python3 '" QUVELA_SOURCE_DIR "/tests/xj/changed_cells.py' '"
                                + before.string() + "' '" + after.string() + "'";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    Changes changes;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int sheet = 0, row = 0, column = 0;
        std::string oldValue, newValue;
        fields >> sheet >> row >> column;
        fields.ignore();
        std::getline(fields, oldValue, '\t');
        std::getline(fields, newValue);
        EXPECT_EQ(sheet, 1) << line;
        changes[{row, column}] = newValue;
    }
    return changes;
}

std::string fileBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A person whose step is example A of the wage rules: grade 4 -> 5, 113 -> 125, the
// supplement 11 -> 12.
Cells exampleA(int xh, const std::string &name)
{
    return person(xh, name);
}

// Written cells of example A in row r, default column map.
Changes writtenA(int r)
{
    return {{{r, 20}, "5"}, {{r, 21}, "125"}, {{r, 22}, "12"}, {{r, 25}, "12"}, {{r, 26}, "1"}};
}

Changes merged(std::initializer_list<Changes> parts)
{
    Changes all;
    for (const Changes &p : parts)
        all.insert(p.begin(), p.end());
    return all;
}

class XjWriteBack : public XjProgramFolder
{
protected:
    std::filesystem::path book = dir / "roster.xlsx";
    std::filesystem::path before = dir / "before.xlsx";

    // Imports rows start..end of the roster and adjusts them, as the clerk does first.
    void importAndAdjust(const std::vector<SheetRow> &rows, const char *start, const char *end)
    {
        writeRoster(book, rows);
        prompts.fileChoices = {gbk::fromPath(book)};
        ASSERT_TRUE(importRoster(prompts, ini, settings, start, end, *table).completed);
        ASSERT_TRUE(adjustSalaryGrades(prompts, settings, *table));
        prompts.shown.clear();
    }

    bool writeBack(const char *start, const char *end)
    {
        std::filesystem::copy_file(book, before, std::filesystem::copy_options::overwrite_existing);
        return writeBackRoster(prompts, ini, settings, start, end, *table);
    }

    // The cells a write-back from rows 7.. of the adjusted table must hold: row 7 + i gets
    // table row i's five figures when it is marked, zeros of the supplement left out.
    static Changes writtenFromTable(const std::vector<XjRecord> &rows)
    {
        Changes expected;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const XjRecord &p = rows[i];
            const int r = 7 + int(i);
            if (p.sftz != 1)
                continue;
            expected[{r, 20}] = std::to_string(p.xjdj2);
            expected[{r, 21}] = std::to_string(p.xjgz2);
            if (p.bf102 != 0)
                expected[{r, 22}] = std::to_string(p.bf102);
            expected[{r, 25}] = std::to_string(p.zzxj);
            if (p.zz10 != 0)
                expected[{r, 26}] = std::to_string(p.zz10);
        }
        return expected;
    }
};

} // namespace

TEST_F(XjWriteBack, WritesTheFiveCellsOfMarkedRowsOnly)
{
    Cells unmarked = exampleA(2, "李四");
    unmarked[31] = 0.0;
    Cells noSupplement = exampleA(3, "王五");
    noSupplement[15] = std::monostate{}; // bf101 empty: bf102 = 0 and zz10 = 0
    noSupplement[22] = 33.0;             // kept, since a zero is not written
    Cells neitherBase = exampleA(4, "赵六");
    neitherBase[13] = 10.0;  // xjdj1
    neitherBase[14] = 197.0; // xjgz1
    neitherBase[12] = 680.0; // gwgz1
    neitherBase[15] = 50.0;  // bf101 fits neither base: bf102 = 0, zz10 = -50
    importAndAdjust({{7, exampleA(1, "张三")}, {8, unmarked}, {9, noSupplement}, {10, neitherBase}}, "7", "10");

    EXPECT_TRUE(writeBack("7", "10"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
    const Changes expected = merged({writtenA(7),
                                     {{{9, 20}, "5"}, {{9, 21}, "125"}, {{9, 25}, "12"}},
                                     {{{10, 20}, "11"}, {{10, 21}, "215"}, {{10, 25}, "18"}, {{10, 26}, "-50"}}});
    EXPECT_EQ(changedCells(before, book), expected);

    // A second press writes the same values: nothing further changes.
    std::filesystem::copy_file(book, dir / "first.xlsx");
    prompts.shown.clear();
    EXPECT_TRUE(writeBack("7", "10"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));
    EXPECT_EQ(changedCells(dir / "first.xlsx", book), Changes{});
}

TEST_F(XjWriteBack, SkippedRowsDoNotMoveThePairingAndDisagreeingNamesAreListed)
{
    Cells subtotal;
    subtotal[2] = std::string("小计"); // a name without sequence number: no table row
    importAndAdjust({{7, exampleA(1, "张三")}, {8, subtotal}, {9, exampleA(2, "李四")}, {10, exampleA(3, "王五")},
                     {11, exampleA(4, "赵六")}},
                    "7", "11");
    // Since the import somebody retyped the name in row 9.
    writeRoster(book, {{7, exampleA(1, "张三")}, {8, subtotal}, {9, exampleA(2, "李斯")}, {10, exampleA(3, "王五")},
                       {11, exampleA(4, "赵六")}});

    EXPECT_TRUE(writeBack("7", "11"));
    EXPECT_EQ(changedCells(before, book), merged({writtenA(7), writtenA(10), writtenA(11)}));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{
                              kWait, kSaved, "message: 以下调资人员因Excel表中的姓名与上表不一致，未回写：\n序号2 李四"}));
    EXPECT_EQ(gbk::toUtf8(prompts.shown.back().caption), "薪级调整");
    EXPECT_EQ(prompts.shown.back().icon, MessageIcon::Warning);
}

TEST_F(XjWriteBack, AStoredNameWithBlanksNeverMatches)
{
    importAndAdjust({{7, exampleA(1, "张三")}, {8, exampleA(2, " 李四 ")}, {9, exampleA(3, "王五")}}, "7", "9");
    EXPECT_TRUE(writeBack("7", "9"));
    EXPECT_EQ(changedCells(before, book), merged({writtenA(7), writtenA(9)}));
    EXPECT_EQ(shownLog().back(), "message: 以下调资人员因Excel表中的姓名与上表不一致，未回写：\n序号2 李四");
}

TEST_F(XjWriteBack, AnUnmarkedRowWithAnotherNameIsNotListed)
{
    Cells unmarked = exampleA(2, "李四");
    unmarked[31] = 0.0;
    importAndAdjust({{7, exampleA(1, "张三")}, {8, unmarked}}, "7", "8");
    unmarked[2] = std::string("李斯");
    writeRoster(book, {{7, exampleA(1, "张三")}, {8, unmarked}});
    EXPECT_TRUE(writeBack("7", "8"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));
}

// Rows past the imported ones have no table row: a namesake there must not receive the
// figures of the last imported person, nor be listed.
TEST_F(XjWriteBack, ARangeLongerThanTheImportWritesNothingPastTheTable)
{
    importAndAdjust({{7, exampleA(1, "张三")}, {8, exampleA(2, "李四")}, {9, exampleA(3, "李四")}}, "7", "8");
    EXPECT_TRUE(writeBack("7", "9"));
    EXPECT_EQ(changedCells(before, book), merged({writtenA(7), writtenA(8)}));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));
}

TEST_F(XjWriteBack, TheFirstRowMustMatchTheFirstTableRow)
{
    importAndAdjust({{7, exampleA(1, "张三")}, {8, exampleA(2, "李四")}}, "7", "8");
    const std::string original = fileBytes(book);
    // The start row changed after the import.
    EXPECT_FALSE(writeBack("8", "8"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kFirstRow, kFailed}));
    EXPECT_EQ(fileBytes(book), original);
    // Blanks around the name in the workbook do not matter to the check.
    writeRoster(book, {{7, exampleA(1, " 张三 ")}});
    prompts.shown.clear();
    EXPECT_TRUE(writeBack("7", "7"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));
}

TEST_F(XjWriteBack, TheColumnMapNamesTheCells)
{
    // Name in C, sex in B, the salary-grade increase in AH (column 34).
    std::vector<int> columns(32);
    for (int k = 1; k <= 32; ++k)
        columns[std::size_t(k - 1)] = k;
    columns[1] = 3;
    columns[2] = 2;
    columns[24] = 34;
    GbkString map;
    for (int c : columns)
        map += TwoDigits(c);
    settings.ColumnMap = map;

    Cells first = exampleA(1, "男");
    first[3] = std::string("张三");
    importAndAdjust({{7, first}}, "7", "7");
    EXPECT_TRUE(writeBack("7", "7"));
    EXPECT_EQ(changedCells(before, book),
              (Changes{{{7, 20}, "5"}, {{7, 21}, "125"}, {{7, 22}, "12"}, {{7, 34}, "12"}, {{7, 26}, "1"}}));
}

TEST_F(XjWriteBack, NothingToWriteWithoutARememberedWorkbook)
{
    importAndAdjust({{7, exampleA(1, "张三")}}, "7", "7");
    ini.writeString("xtcs", "excelFileName", "");
    EXPECT_FALSE(writeBackRoster(prompts, ini, settings, "7", "7", *table));
    EXPECT_TRUE(prompts.shown.empty());

    ini.writeString("xtcs", "excelFileName", gbk::fromPath(dir / "gone.xlsx"));
    EXPECT_FALSE(writeBackRoster(prompts, ini, settings, "7", "7", *table));
    EXPECT_EQ(shownLog(), std::vector<std::string>{"message: 请选择EXCEL数据表格！"});
}

TEST_F(XjWriteBack, RowBoxesWithoutANumberFailAndLeaveTheWorkbook)
{
    importAndAdjust({{7, exampleA(1, "张三")}}, "7", "7");
    const std::string original = fileBytes(book);
    const std::pair<const char *, const char *> cases[] = {{"", "7"}, {"7", ""}, {"7", "x"}};
    for (const auto &[start, end] : cases) {
        prompts.shown.clear();
        EXPECT_FALSE(writeBack(start, end));
        EXPECT_EQ(shownLog().back(), kFailed) << start << "-" << end;
        EXPECT_EQ(prompts.waitWindowsOpen, 0);
        EXPECT_EQ(fileBytes(book), original);
    }
}

TEST_F(XjWriteBack, AnEndBeforeTheStartSavesWithoutWriting)
{
    importAndAdjust({{7, exampleA(1, "张三")}, {8, exampleA(2, "李四")}}, "7", "8");
    EXPECT_TRUE(writeBack("7", "6"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));
    EXPECT_EQ(changedCells(before, book), Changes{});
}

TEST_F(XjWriteBack, ACellThatMustNotBeWrittenSaysWhyAndLeavesTheWorkbook)
{
    importAndAdjust({{7, exampleA(1, "张三")}, {8, exampleA(2, "李四")}}, "7", "8");
    // The increase cells of row 8 were merged since the import.
    lxw_workbook *wb = workbook_new(book.c_str());
    lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);
    for (const auto &[r, cells] : std::vector<SheetRow>{{7, exampleA(1, "张三")}, {8, exampleA(2, "李四")}})
        for (const auto &[c, cell] : cells)
            if (const std::string *s = std::get_if<std::string>(&cell))
                worksheet_write_string(ws, lxw_row_t(r - 1), lxw_col_t(c - 1), s->c_str(), nullptr);
            else if (const double *n = std::get_if<double>(&cell))
                worksheet_write_number(ws, lxw_row_t(r - 1), lxw_col_t(c - 1), *n, nullptr);
    worksheet_merge_range(ws, 7, 24, 7, 25, "", nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
    const std::string original = fileBytes(book);

    EXPECT_FALSE(writeBack("7", "8"));
    const auto log = shownLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], kWait);
    EXPECT_EQ(prompts.shown[1].kind, "error");
    EXPECT_EQ(log[2], kFailed);
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
    EXPECT_EQ(fileBytes(book), original);
}

TEST_F(XjWriteBack, TheExampleRosterChangesInTheFiveColumnsOnly)
{
    std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx", book);
    prompts.fileChoices = {gbk::fromPath(book)};
    ASSERT_TRUE(importRoster(prompts, ini, settings, "7", "31", *table).completed);
    ASSERT_TRUE(adjustSalaryGrades(prompts, settings, *table));
    prompts.shown.clear();
    EXPECT_TRUE(writeBack("7", "31"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));

    // Expected from the adjusted table: row 7 + i holds table row i.
    const auto rows = storedRows();
    ASSERT_EQ(rows.size(), 24u);
    const Changes expected = writtenFromTable(rows);
    ASSERT_GT(expected.size(), 40u);
    const Changes changes = changedCells(before, book);
    for (const auto &[cell, value] : changes) {
        const auto it = expected.find(cell);
        ASSERT_NE(it, expected.end()) << "row " << cell.first << " column " << cell.second << " changed";
        EXPECT_EQ(value, it->second) << "row " << cell.first << " column " << cell.second;
    }
    // A cell that already held its new value shows no change.
    spreadsheet::SpreadsheetSession old;
    old.open(before);
    for (const auto &[cell, value] : expected) {
        if (!changes.contains(cell)) {
            EXPECT_EQ(old.readCellText(cell.first, cell.second), value) << cell.first << "," << cell.second;
        }
    }
}

TEST_F(XjWriteBack, AnXlsRosterIsWrittenAsAnXlsxOneIs)
{
    // LibreOffice's .xls export of the example roster; its row totals are formulas.
    book = dir / "roster.xls";
    before = dir / "before.xls";
    std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/xls_fixtures/lo_xj_roster.xls",
                               book);
    prompts.fileChoices = {gbk::fromPath(book)};
    ASSERT_TRUE(importRoster(prompts, ini, settings, "7", "31", *table).completed);
    ASSERT_TRUE(adjustSalaryGrades(prompts, settings, *table));
    prompts.shown.clear();
    EXPECT_TRUE(writeBack("7", "31"));
    EXPECT_EQ(shownLog(), (std::vector<std::string>{kWait, kSaved}));

    const auto rows = storedRows();
    ASSERT_EQ(rows.size(), 24u);
    const Changes expected = writtenFromTable(rows);
    ASSERT_GT(expected.size(), 40u);
    spreadsheet::SpreadsheetSession now;
    now.open(book);
    for (const auto &[cell, value] : changedCells(before, book)) {
        // Q = S + U + V + W and X = Y + Z + AA in each row, and the totals of row 31,
        // hold their new sums.
        if (cell.second == 17 || cell.second == 24) {
            const int r = cell.first;
            int32_t total = 0;
            if (r == 31) {
                for (int row = 7; row <= 30; ++row)
                    total += now.readCellInteger(row, cell.second);
            } else {
                for (int c : cell.second == 17 ? std::vector<int>{19, 21, 22, 23} : std::vector<int>{25, 26, 27})
                    total += now.readCellInteger(r, c);
            }
            EXPECT_EQ(now.readCellInteger(r, cell.second), total) << "row " << r << " column " << cell.second;
            continue;
        }
        const auto it = expected.find(cell);
        ASSERT_NE(it, expected.end()) << "row " << cell.first << " column " << cell.second << " changed";
        EXPECT_EQ(value, it->second) << "row " << cell.first << " column " << cell.second;
    }
    for (const auto &[cell, value] : expected)
        EXPECT_EQ(gbk::toUtf8(now.readCellText(cell.first, cell.second)), value) << cell.first << "," << cell.second;
    now.end();

    // Pressing it again writes the same values and changes nothing further.
    std::filesystem::copy_file(book, dir / "first.xls");
    prompts.shown.clear();
    EXPECT_TRUE(writeBack("7", "31"));
    EXPECT_EQ(changedCells(dir / "first.xls", book), Changes{});
}

TEST_F(XjWriteBack, TheListOfDisagreeingNamesStaysShort)
{
    std::vector<SheetRow> imported, renamed;
    for (int i = 1; i <= 23; ++i) {
        imported.push_back({6 + i, exampleA(i, "甲" + std::to_string(i))});
        renamed.push_back({6 + i, exampleA(i, i == 1 ? "甲1" : "乙" + std::to_string(i))});
    }
    importAndAdjust(imported, "7", "29");
    writeRoster(book, renamed);
    EXPECT_TRUE(writeBack("7", "29"));
    std::string expected = "message: 以下调资人员因Excel表中的姓名与上表不一致，未回写：";
    for (int i = 2; i <= 21; ++i)
        expected += "\n序号" + std::to_string(i) + " 甲" + std::to_string(i);
    expected += "\n……共22人";
    EXPECT_EQ(shownLog().back(), expected);
    EXPECT_EQ(changedCells(before, book), writtenA(7));
}
