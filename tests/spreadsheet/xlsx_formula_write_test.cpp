// Writing into a roster whose columns are filled-down formulas: the formulas stay, and
// the results stored beside them are the ones the written figures give. Checked with
// openpyxl (formula texts) and LibreOffice (results), both independent of our reader.

#include "common/errors.h"
#include "libreoffice_values.h"
#include "openpyxl_dump.h"
#include "session_reading.h"
#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cmath>
#include <regex>

namespace quvela::test {
namespace {

const char kSheetPart[] = "xl/worksheets/sheet1.xml";

std::string sheetXml(const std::filesystem::path &file)
{
    std::vector<ZipPart> parts = readZip(file);
    return partData(parts, kSheetPart);
}

// Each column's formula as a fill would have written it in row r.
struct Column
{
    const char *letter;
    const char *formula; // with # for the row
};

std::string inRow(const char *formula, int row)
{
    return std::regex_replace(std::string(formula), std::regex("#"), std::to_string(row));
}

// Rows 2 to 7 are people: B 岗位工资, C 薪级工资 (written), D the 10 % (a filled-down
// formula, written), E 合计 (filled down), F yearly (each its own formula, reading E),
// G a rounding the engine lacks, H reads only B, I a text. Row 8 sums E.
const Column kColumns[] = {
    {"D", "C#*0.1"},
    {"E", "B#+C#+D#"},
    {"F", "E#*12"},
    {"G", "ROUND(E#/3,0)"},
    {"H", "B#*2"},
    {"I", "IF(E#>1500,\"高\",\"低\")"},
};
constexpr int kFirstRow = 2;
constexpr int kLastRow = 7;

double stored(const char *letter, double post, double grade)
{
    const double ten = grade * 0.1;
    const double total = post + grade + ten;
    switch (letter[0]) {
    case 'D':
        return ten;
    case 'E':
        return total;
    case 'F':
        return total * 12;
    case 'G':
        return std::nearbyint(total / 3);
    default:
        return post * 2;
    }
}

void makeRoster(const std::filesystem::path &file)
{
    const auto plain = file.parent_path() / "plain.xlsx";
    double totalSum = 0;
    {
        lxw_workbook *book = workbook_new(plain.string().c_str());
        lxw_worksheet *sheet = workbook_add_worksheet(book, "花名册");
        const char *headings[] = {"姓名", "岗位工资", "薪级工资", "10%", "合计", "全年", "三分", "双倍", "档"};
        for (lxw_col_t c = 0; c < 9; ++c)
            worksheet_write_string(sheet, 0, c, headings[c], nullptr);
        const char *names[] = {"尹士", "李四", "王五", "赵六", "钱七", "孙八"};
        for (int row = kFirstRow; row <= kLastRow; ++row) {
            const lxw_row_t r = static_cast<lxw_row_t>(row - 1);
            const double post = 1000 + 40 * row;
            const double grade = 180 + 13 * row;
            worksheet_write_string(sheet, r, 0, names[row - kFirstRow], nullptr);
            worksheet_write_number(sheet, r, 1, post, nullptr);
            worksheet_write_number(sheet, r, 2, grade, nullptr);
            for (lxw_col_t c = 0; c < 6; ++c) {
                const std::string formula = "=" + inRow(kColumns[c].formula, row);
                if (kColumns[c].letter[0] == 'I')
                    worksheet_write_formula_str(sheet, r, 8, formula.c_str(), nullptr,
                                                stored("E", post, grade) > 1500 ? "高" : "低");
                else
                    worksheet_write_formula_num(sheet, r, 3 + c, formula.c_str(), nullptr,
                                                stored(kColumns[c].letter, post, grade));
            }
            totalSum += stored("E", post, grade);
        }
        worksheet_write_formula_num(sheet, kLastRow, 4, "=SUM(E2:E7)", nullptr, totalSum);
        ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    }
    std::vector<ZipPart> parts = readZip(plain);
    std::filesystem::remove(plain);
    // D and E as Excel stores filled-down columns: one shared formula each.
    std::string &sheet = partData(parts, kSheetPart);
    for (const auto &[letter, group] : {std::pair{"D", 0}, std::pair{"E", 1}}) {
        const Column &column = letter[0] == 'D' ? kColumns[0] : kColumns[1];
        for (int row = kFirstRow; row <= kLastRow; ++row) {
            const std::string own = "<f>" + inRow(column.formula, row) + "</f>";
            const std::size_t at = sheet.find(own);
            ASSERT_NE(at, std::string::npos) << own;
            const std::string si = std::to_string(group);
            const std::string shared = row == kFirstRow
                ? "<f t=\"shared\" ref=\"" + std::string(letter) + "2:" + letter + "7\" si=\"" + si + "\">"
                    + inRow(column.formula, row) + "</f>"
                : "<f t=\"shared\" si=\"" + si + "\"/>";
            sheet.replace(at, own.size(), shared);
        }
    }
    writeZip(file, parts);
}

double numberOf(const std::string &text)
{
    return text.empty() ? 0 : std::stod(text);
}

struct WriteBack
{
    int row;
    int column;
    int32_t value;
};

// New grades for rows 2 to 6 (row 7 is left as it was), a new 10 % in D2, the first cell
// of its filled-down formula, and in D4, one of its other cells.
const WriteBack kWriteBack[] = {
    {2, 3, 300}, {3, 3, 310}, {4, 3, 320}, {5, 3, 330}, {6, 3, 340}, {2, 4, 30}, {4, 4, 32},
};

bool isWritten(int row, int column)
{
    for (const WriteBack &w : kWriteBack) {
        if (w.row == row && w.column == column)
            return true;
    }
    return false;
}

class FormulaWriteBack : public testing::Test
{
protected:
    void SetUp() override
    {
        makeRoster(file);
        before = sheetXml(file);
        auto session = openWorkbook(file);
        for (const WriteBack &w : kWriteBack)
            session->writeCellInteger(w.row, w.column, w.value);
        session->closeWithSave();
        after = sheetXml(file);
    }

    TempFolder folder;
    std::filesystem::path file = folder / "roster.xlsx";
    std::string before;
    std::string after;
};

TEST_F(FormulaWriteBack, EveryFormulaKeepsItsTextForOpenpyxl)
{
    const OpenpyxlDump dump = dumpWithOpenpyxl(file, "formulas");
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        for (int c = 0; c < 6; ++c) {
            const int column = 4 + c;
            const DumpedCell &cell = dump.cells.at({0, row, column});
            if (isWritten(row, column)) {
                EXPECT_EQ(cell.kind, "n") << kColumns[c].letter << row;
                continue;
            }
            EXPECT_EQ(cell.kind, "f") << kColumns[c].letter << row;
            EXPECT_EQ(cell.value, "=" + inRow(kColumns[c].formula, row)) << kColumns[c].letter << row;
        }
    }
    EXPECT_EQ(dump.cells.at({0, 8, 5}).value, "=SUM(E2:E7)");
    // The filled-down 10 % carries on from D3, which now heads the group.
    EXPECT_NE(cellXml(after, "D3").find("<f t=\"shared\" ref=\"D3:D7\" si=\"0\">C3*0.1</f>"), std::string::npos)
        << cellXml(after, "D3");
    EXPECT_NE(cellXml(after, "D5").find("<f t=\"shared\" si=\"0\"/>"), std::string::npos);
}

TEST_F(FormulaWriteBack, StoredResultsAreLibreOfficesResults)
{
    const auto computed = valuesByLibreOffice(file);
    if (!computed)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: stored results not compared";
    const OpenpyxlDump stored = dumpWithOpenpyxl(file, "values");
    int compared = 0;
    for (int row = kFirstRow; row <= kLastRow + 1; ++row) {
        for (int column = 4; column <= 9; ++column) {
            const std::string reference = std::string(1, static_cast<char>('A' + column - 1)) + std::to_string(row);
            const auto cell = stored.cells.find({0, row, column});
            const std::string libreOffice = static_cast<std::size_t>(row - 1) < computed->size()
                    && static_cast<std::size_t>(column - 1) < (*computed)[row - 1].size()
                ? (*computed)[row - 1][column - 1]
                : std::string();
            if (column == 7 && row <= kLastRow && (row <= 6 || isWritten(row, 4))) {
                // ROUND is not computed here: a result that depends on a written cell is
                // removed rather than left stale.
                EXPECT_EQ(cell, stored.cells.end()) << reference << " keeps a stale result";
                EXPECT_EQ(cellXml(after, reference).find("<v>"), std::string::npos) << cellXml(after, reference);
                continue;
            }
            if (cell == stored.cells.end()) {
                EXPECT_EQ(libreOffice, "") << reference;
                continue;
            }
            if (cell->second.kind == "s")
                EXPECT_EQ(cell->second.value, libreOffice) << reference;
            else
                EXPECT_NEAR(numberOf(cell->second.value), numberOf(libreOffice), 1e-9) << reference;
            ++compared;
        }
    }
    EXPECT_GE(compared, 30);
}

TEST_F(FormulaWriteBack, OurReaderSeesTotalsThatAgreeWithTheWrittenFigures)
{
    const auto session = openWorkbook(file);
    double sum = 0;
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        const double total = numberOf(cellUtf8(*session, row, 2)) + numberOf(cellUtf8(*session, row, 3))
            + numberOf(cellUtf8(*session, row, 4));
        EXPECT_NEAR(numberOf(cellUtf8(*session, row, 5)), total, 1e-9) << "E" << row;
        EXPECT_NEAR(numberOf(cellUtf8(*session, row, 6)), total * 12, 1e-9) << "F" << row;
        EXPECT_EQ(cellUtf8(*session, row, 9), total > 1500 ? "高" : "低") << "I" << row;
        sum += total;
    }
    EXPECT_EQ(cellUtf8(*session, 2, 4), "30");
    EXPECT_NEAR(numberOf(cellUtf8(*session, 3, 4)), 31, 1e-9) << "D3 = C3*0.1 from the new grade";
    EXPECT_NEAR(numberOf(cellUtf8(*session, 8, 5)), sum, 1e-9);
}

TEST_F(FormulaWriteBack, FormulasWhoseInputsDidNotChangeStayByteForByte)
{
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        const std::string h = "H" + std::to_string(row);
        EXPECT_EQ(cellXml(after, h), cellXml(before, h));
        EXPECT_FALSE(cellXml(before, h).empty());
    }
    // Row 7 was not written: everything in it reads only its own row.
    for (const char *reference : {"D7", "E7", "F7", "G7", "I7"})
        EXPECT_EQ(cellXml(after, reference), cellXml(before, reference)) << reference;
    EXPECT_NE(cellXml(after, "E2"), cellXml(before, "E2"));
}

TEST_F(FormulaWriteBack, TheWorkbookStillAsksForRecalculation)
{
    std::vector<ZipPart> parts = readZip(file);
    EXPECT_NE(partData(parts, "xl/workbook.xml").find("fullCalcOnLoad=\"1\""), std::string::npos);
}

// A filled-down block (more than one column) whose first cell is written: each other
// cell gets its formula written out.
TEST(FormulaWrite, ABlockGroupIsSpelledOutCellByCell)
{
    TempFolder folder;
    HandWorkbook book;
    book.sheets.push_back(
        {"表", "worksheets/sheet1.xml",
         worksheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c>"
                      "<c r=\"C1\"><f t=\"shared\" ref=\"C1:D2\" si=\"0\">$A1+B1</f><v>3</v></c>"
                      "<c r=\"D1\"><f t=\"shared\" si=\"0\"/><v>3</v></c></row>"
                      "<row r=\"2\"><c r=\"A2\"><v>10</v></c><c r=\"B2\"><v>20</v></c>"
                      "<c r=\"C2\"><f t=\"shared\" si=\"0\"/><v>30</v></c>"
                      "<c r=\"D2\"><f t=\"shared\" si=\"0\"/><v>40</v></c></row>")});
    book.write(folder / "block.xlsx");
    {
        auto session = openWorkbook(folder / "block.xlsx");
        session->writeCellInteger(1, 3, 99);
        session->writeCellInteger(1, 1, 5);
        session->closeWithSave();
    }
    const std::string sheet = sheetXml(folder / "block.xlsx");
    EXPECT_EQ(cellXml(sheet, "C1"), "<c r=\"C1\"><v>99</v></c>");
    EXPECT_EQ(cellXml(sheet, "D1"), "<c r=\"D1\"><f>$A1+C1</f><v>104</v></c>");
    EXPECT_EQ(cellXml(sheet, "C2"), "<c r=\"C2\"><f>$A2+B2</f><v>30</v></c>");
    EXPECT_EQ(cellXml(sheet, "D2"), "<c r=\"D2\"><f>$A2+C2</f><v>40</v></c>");
    const OpenpyxlDump dump = dumpWithOpenpyxl(folder / "block.xlsx", "formulas");
    EXPECT_EQ(dump.cells.at({0, 1, 4}).value, "=$A1+C1");
    EXPECT_EQ(dump.cells.at({0, 2, 4}).value, "=$A2+C2");
}

std::string noResultBook(const std::string &formulaCells)
{
    return worksheetXml("<row r=\"1\"><c r=\"A1\"><v>900</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>张三</t></is></c>"
                        + formulaCells + "</row>");
}

struct ReadCase
{
    const char *cells;
    int column;
    const char *expected; // nullptr: a message naming the cell
};

class FormulaWithoutResult : public testing::TestWithParam<ReadCase>
{
};

TEST_P(FormulaWithoutResult, ReadsAsComputedOrSaysSo)
{
    const ReadCase &c = GetParam();
    TempFolder folder;
    HandWorkbook book;
    book.sheets.push_back({"表", "worksheets/sheet1.xml", noResultBook(c.cells)});
    book.write(folder / "noresult.xlsx");
    const auto session = openWorkbook(folder / "noresult.xlsx");
    if (c.expected) {
        EXPECT_EQ(cellUtf8(*session, 1, c.column), c.expected) << c.cells;
        EXPECT_EQ(session->lastColumn(1), 5) << c.cells;
        return;
    }
    try {
        cellUtf8(*session, 1, c.column);
        ADD_FAILURE() << "read without a message: " << c.cells;
    } catch (const QuvelaError &e) {
        const std::string message = gbk::toUtf8(e.message());
        EXPECT_NE(message.find("单元格 " + std::string(1, static_cast<char>('A' + c.column - 1)) + "1"), std::string::npos)
            << message;
        EXPECT_NE(message.find("保存一次"), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormulaWithoutResult,
    testing::Values(
        ReadCase{"<c r=\"C1\"><f>A1*0.1</f></c><c r=\"E1\"><f>A1+C1</f></c>", 5, "990"},
        ReadCase{"<c r=\"C1\"><f>A1*0.1</f></c><c r=\"E1\"><f>A1+C1</f></c>", 3, "90"},
        ReadCase{"<c r=\"C1\" t=\"str\"><f>B1&amp;\"同志\"</f></c><c r=\"E1\"><v>1</v></c>", 3, "张三同志"},
        ReadCase{"<c r=\"C1\"><f t=\"shared\" ref=\"C1:E1\" si=\"3\">$A1*2</f></c>"
                 "<c r=\"D1\"><f t=\"shared\" si=\"3\"/></c><c r=\"E1\"><f t=\"shared\" si=\"3\"/></c>",
                 5, "1800"},
        ReadCase{"<c r=\"C1\"><f>ROUND(A1/7,0)</f></c><c r=\"E1\"><v>1</v></c>", 3, nullptr},
        ReadCase{"<c r=\"C1\"><f>[1]工资!A1</f></c><c r=\"E1\"><f>C1+1</f></c>", 5, nullptr},
        ReadCase{"<c r=\"C1\"><f>E1+1</f></c><c r=\"E1\"><f>C1+1</f></c>", 5, nullptr}));

const std::filesystem::path kNoResults =
    std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/formula_fixtures/openpyxl_no_results.xlsx";

// openpyxl stores formulas without results; our reader computes them as LibreOffice does,
// and names the cell of the one it cannot compute.
TEST(FormulaWithoutResult, AScriptWrittenRosterReadsAsLibreOfficeComputesIt)
{
    const auto session = openWorkbook(kNoResults);
    std::vector<std::vector<std::string>> ours;
    for (int row = 1; row <= 5; ++row) {
        auto &line = ours.emplace_back();
        for (int column = 1; column <= 7; ++column) {
            try {
                line.push_back(cellUtf8(*session, row, column));
            } catch (const QuvelaError &e) {
                EXPECT_EQ(column, 7) << gbk::toUtf8(e.message());
                EXPECT_NE(gbk::toUtf8(e.message()).find("单元格 G" + std::to_string(row)), std::string::npos);
                line.push_back("?");
            }
        }
    }
    EXPECT_EQ(ours[1][3], "27.3");
    EXPECT_EQ(ours[1][5], "张三同志");
    const auto computed = valuesByLibreOffice(kNoResults);
    if (!computed)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: values not compared";
    for (int row = 1; row <= 5; ++row) {
        for (int column = 1; column <= 6; ++column) {
            const std::string theirs = static_cast<std::size_t>(column - 1) < (*computed)[row - 1].size()
                ? (*computed)[row - 1][column - 1]
                : std::string();
            const std::string &mine = ours[row - 1][column - 1];
            if (row > 1 && column > 1 && column != 6 && !mine.empty())
                EXPECT_NEAR(std::stod(mine), std::stod(theirs), 1e-9) << row << "," << column;
            else
                EXPECT_EQ(mine, theirs) << row << "," << column;
        }
    }
}

TEST(FormulaWithoutResult, AWriteStoresTheResultsOfWhatItChanged)
{
    TempFolder folder;
    const auto file = folder / "roster.xlsx";
    std::filesystem::copy_file(kNoResults, file);
    {
        auto session = openWorkbook(file);
        session->writeCellInteger(3, 3, 300);
        session->closeWithSave();
    }
    const std::string sheet = sheetXml(file);
    EXPECT_EQ(cellXml(sheet, "D3"), "<c r=\"D3\"><f>C3*0.1</f><v>30</v></c>");
    EXPECT_EQ(cellXml(sheet, "E3"), "<c r=\"E3\"><f>B3+C3+D3</f><v>1010</v></c>");
    // No result before, none after: the cell stays as it was.
    EXPECT_EQ(cellXml(sheet, "G3"), "<c r=\"G3\"><f>ROUND(E3/3,0)</f><v></v></c>");
    // Row 2 reads nothing written: as openpyxl left it.
    EXPECT_EQ(cellXml(sheet, "E2"), "<c r=\"E2\"><f>B2+C2+D2</f><v></v></c>");
    const auto session = openWorkbook(file);
    // 1230.3 + 1010 + 938.7
    EXPECT_EQ(cellUtf8(*session, 5, 5), "3179");
}

} // namespace
} // namespace quvela::test
