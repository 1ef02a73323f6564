// Writing into the first sheet of a workbook whose other sheets compute from it: a
// summary sheet totalling the roster, a parameter sheet the roster reads, a sheet that
// reads the summary, and a roster column that reads the summary back. Every result the
// write changes is stored anew on every sheet, as LibreOffice computes it.

#include "libreoffice_values.h"
#include "openpyxl_dump.h"
#include "session_reading.h"
#include "spreadsheet/cell_reference.h"
#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cmath>

namespace quvela::test {
namespace {

using spreadsheet::cellReference;

const char kRosterPart[] = "xl/worksheets/sheet1.xml";
const char kSummaryPart[] = "xl/worksheets/sheet2.xml";
const char kOtherPart[] = "xl/worksheets/sheet4.xml";

constexpr double kFactor = 1.5;
constexpr int kFirstRow = 2;
constexpr int kLastRow = 4;

double post(int row) { return 1000 + 100 * row; }
double grade(int row) { return 200 + 10 * row; }

// 花名册: A name, B 岗位工资, C 薪级工资 (written), D = B+C, E = D*factor, F the yearly
// total read back from 汇总, G the kind from 参数 joined to the name.
// 汇总: A1 the sum of D, B1 = A1*12, C1 a rounding the engine lacks, D1 reads nothing
// written, E1 a sum through a defined name of the roster's D, F1 reads 其他, which
// reads 汇总.
// 参数: A1 the factor, B1 a text. 其他: A1 = 汇总!B1/12.
void makeWorkbook(const std::filesystem::path &file)
{
    lxw_workbook *book = workbook_new(file.string().c_str());
    lxw_worksheet *roster = workbook_add_worksheet(book, "花名册");
    lxw_worksheet *summary = workbook_add_worksheet(book, "汇总");
    lxw_worksheet *parameters = workbook_add_worksheet(book, "参数");
    lxw_worksheet *other = workbook_add_worksheet(book, "其他");
    workbook_define_name(book, "应发", "='花名册'!$D$2:$D$4");
    const char *names[] = {"尹士", "李四", "王五"};
    double sum = 0;
    for (int row = kFirstRow; row <= kLastRow; ++row)
        sum += post(row) + grade(row);
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        const lxw_row_t r = static_cast<lxw_row_t>(row - 1);
        const std::string n = std::to_string(row);
        const double total = post(row) + grade(row);
        worksheet_write_string(roster, r, 0, names[row - kFirstRow], nullptr);
        worksheet_write_number(roster, r, 1, post(row), nullptr);
        worksheet_write_number(roster, r, 2, grade(row), nullptr);
        worksheet_write_formula_num(roster, r, 3, ("=B" + n + "+C" + n).c_str(), nullptr, total);
        worksheet_write_formula_num(roster, r, 4, ("=D" + n + "*参数!$A$1").c_str(), nullptr, total * kFactor);
        worksheet_write_formula_num(roster, r, 5, "=汇总!$B$1", nullptr, sum * 12);
        worksheet_write_formula_str(roster, r, 6, ("=参数!$B$1&A" + n).c_str(), nullptr,
                                    (std::string("在编") + names[row - kFirstRow]).c_str());
    }
    worksheet_write_formula_num(summary, 0, 0, "=SUM('花名册'!D2:D4)", nullptr, sum);
    worksheet_write_formula_num(summary, 0, 1, "=A1*12", nullptr, sum * 12);
    worksheet_write_formula_num(summary, 0, 2, "=ROUND(A1/7,0)", nullptr, std::nearbyint(sum / 7));
    worksheet_write_formula_num(summary, 0, 3, "=5*2", nullptr, 10);
    worksheet_write_formula_num(summary, 0, 4, "=SUM(应发)", nullptr, sum);
    worksheet_write_formula_num(summary, 0, 5, "=其他!A1+1", nullptr, sum + 1);
    worksheet_write_number(parameters, 0, 0, kFactor, nullptr);
    worksheet_write_string(parameters, 0, 1, "在编", nullptr);
    worksheet_write_formula_num(other, 0, 0, "=汇总!B1/12", nullptr, sum);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

class OtherSheetsWriteBack : public testing::Test
{
protected:
    void SetUp() override
    {
        makeWorkbook(file);
        before = readZip(file);
        auto session = openWorkbook(file);
        for (int row = kFirstRow; row <= kLastRow; ++row)
            session->writeCellInteger(row, 3, static_cast<int32_t>(grade(row) + 50));
        session->closeWithSave();
        after = readZip(file);
    }

    TempFolder folder;
    std::filesystem::path file = folder / "book.xlsx";
    std::vector<ZipPart> before;
    std::vector<ZipPart> after;
};

double numberOf(const std::string &text)
{
    return text.empty() ? 0 : std::stod(text);
}

TEST_F(OtherSheetsWriteBack, EveryStoredResultIsLibreOfficesResult)
{
    const OpenpyxlDump stored = dumpWithOpenpyxl(file, "values");
    struct Sheet
    {
        int index; // in workbook order, from 0
        int lastRow;
        int lastColumn;
    };
    int compared = 0;
    for (const Sheet &sheet : {Sheet{0, kLastRow, 7}, Sheet{1, 1, 6}, Sheet{3, 1, 1}}) {
        const auto computed = valuesByLibreOffice(file, sheet.index + 1);
        if (!computed)
            GTEST_SKIP() << "LibreOffice (soffice) is not installed: stored results not compared";
        for (int row = 1; row <= sheet.lastRow; ++row) {
            for (int column = 1; column <= sheet.lastColumn; ++column) {
                const std::string where = std::to_string(sheet.index) + ":" + cellReference(row, column);
                const auto cell = stored.cells.find({sheet.index, row, column});
                // What cannot be computed here, and depends on the write, has no result.
                if (sheet.index == 1 && column == 3) {
                    EXPECT_EQ(cell, stored.cells.end()) << where << " keeps a stale result";
                    continue;
                }
                if (cell == stored.cells.end())
                    continue;
                const std::string libreOffice = static_cast<std::size_t>(row) <= computed->size()
                        && static_cast<std::size_t>(column) <= (*computed)[row - 1].size()
                    ? (*computed)[row - 1][column - 1]
                    : std::string();
                if (cell->second.kind == "s")
                    EXPECT_EQ(cell->second.value, libreOffice) << where;
                else
                    EXPECT_NEAR(numberOf(cell->second.value), numberOf(libreOffice), 1e-9) << where;
                ++compared;
            }
        }
    }
    EXPECT_GE(compared, 26);
    // The sum through the defined name is computed, not only removed.
    EXPECT_EQ(stored.cells.count({1, 1, 5}), 1u);
}

TEST_F(OtherSheetsWriteBack, OurReaderSeesTheNewFiguresOnTheRoster)
{
    const auto session = openWorkbook(file);
    double sum = 0;
    for (int row = kFirstRow; row <= kLastRow; ++row)
        sum += post(row) + grade(row) + 50;
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        const double total = post(row) + grade(row) + 50;
        EXPECT_EQ(numberOf(cellUtf8(*session, row, 4)), total) << row;
        EXPECT_EQ(numberOf(cellUtf8(*session, row, 5)), total * kFactor) << row;
        // Through the summary sheet and back.
        EXPECT_EQ(numberOf(cellUtf8(*session, row, 6)), sum * 12) << row;
    }
    EXPECT_EQ(cellUtf8(*session, 2, 7), "在编尹士");
}

TEST_F(OtherSheetsWriteBack, WhatTheWriteDoesNotReachStaysByteForByte)
{
    const std::string &summaryBefore = partData(before, kSummaryPart);
    const std::string &summaryAfter = partData(after, kSummaryPart);
    EXPECT_EQ(cellXml(summaryAfter, "D1"), cellXml(summaryBefore, "D1"));
    EXPECT_NE(cellXml(summaryAfter, "D1").find("<v>10</v>"), std::string::npos) << cellXml(summaryAfter, "D1");
    // The texts of the roster did not change.
    EXPECT_EQ(cellXml(partData(after, kRosterPart), "G2"), cellXml(partData(before, kRosterPart), "G2"));
    EXPECT_EQ(partData(after, "xl/worksheets/sheet3.xml"), partData(before, "xl/worksheets/sheet3.xml"));
    const OpenpyxlDump formulas = dumpWithOpenpyxl(file, "formulas");
    EXPECT_EQ(formulas.cells.at({1, 1, 1}).value, "=SUM('花名册'!D2:D4)");
    EXPECT_EQ(formulas.cells.at({1, 1, 6}).value, "=其他!A1+1");
    EXPECT_EQ(formulas.cells.at({3, 1, 1}).value, "=汇总!B1/12");
    EXPECT_NE(partData(after, kOtherPart), partData(before, kOtherPart));
}

// Hand-made sheets for what the independent writer cannot make: a formula whose text
// is lost, a sheet that cannot be read, a chain through a sheet placed before.
TEST(OtherSheetsWrite, ChainsUnknownTextsAndUnreadableSheets)
{
    TempFolder folder;
    HandWorkbook book;
    book.sheets.push_back({"花名册", "worksheets/sheet1.xml",
                           worksheetXml("<row r=\"1\"><c r=\"A1\"><v>100</v></c>"
                                        "<c r=\"B1\"><f>A1*2</f><v>200</v></c></row>")});
    book.sheets.push_back({"汇总", "worksheets/sheet2.xml",
                           worksheetXml("<row r=\"1\"><c r=\"A1\"><f>'花名册'!B1</f><v>200</v></c>"
                                        "<c r=\"B1\"><f>A1+1</f><v>201</v></c>"
                                        "<c r=\"C1\"><f>5*2</f><v>10</v></c>"
                                        "<c r=\"D1\"><f>[1]花名册!A1*2</f><v>7</v></c>"
                                        "<c r=\"E1\"><f t=\"shared\" si=\"4\"/><v>8</v></c></row>")});
    book.sheets.push_back({"其他", "worksheets/sheet3.xml",
                           worksheetXml("<row r=\"1\"><c r=\"A1\"><f>汇总!C1*3</f><v>30</v></c>"
                                        "<c r=\"B1\"><f>汇总!B1</f><v>201</v></c>"
                                        "<c r=\"C1\"><f>坏!A1</f><v>5</v></c></row>")});
    book.sheets.push_back({"坏", "worksheets/sheet4.xml", "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>5"});
    book.write(folder / "book.xlsx");
    {
        auto session = openWorkbook(folder / "book.xlsx");
        session->writeCellInteger(1, 1, 150);
        session->closeWithSave();
    }
    std::vector<ZipPart> parts = readZip(folder / "book.xlsx");
    EXPECT_EQ(cellXml(partData(parts, kRosterPart), "B1"), "<c r=\"B1\"><f>A1*2</f><v>300</v></c>");
    const std::string &summary = partData(parts, kSummaryPart);
    EXPECT_EQ(cellXml(summary, "A1"), "<c r=\"A1\"><f>'花名册'!B1</f><v>300</v></c>");
    EXPECT_EQ(cellXml(summary, "B1"), "<c r=\"B1\"><f>A1+1</f><v>301</v></c>");
    EXPECT_EQ(cellXml(summary, "C1"), "<c r=\"C1\"><f>5*2</f><v>10</v></c>");
    // Another workbook's sheet of the same name is not this one: nothing it reads changed.
    EXPECT_EQ(cellXml(summary, "D1"), "<c r=\"D1\"><f>[1]花名册!A1*2</f><v>7</v></c>");
    // A formula whose text is lost might read anything: its result goes.
    EXPECT_EQ(cellXml(summary, "E1"), "<c r=\"E1\"><f t=\"shared\" si=\"4\"/></c>");
    const std::string &other = partData(parts, "xl/worksheets/sheet3.xml");
    EXPECT_EQ(cellXml(other, "A1"), "<c r=\"A1\"><f>汇总!C1*3</f><v>30</v></c>");
    EXPECT_EQ(cellXml(other, "B1"), "<c r=\"B1\"><f>汇总!B1</f><v>301</v></c>");
    // The unreadable sheet is copied as it was, and what reads it is not disturbed.
    EXPECT_EQ(cellXml(other, "C1"), "<c r=\"C1\"><f>坏!A1</f><v>5</v></c>");
    EXPECT_EQ(partData(parts, "xl/worksheets/sheet4.xml"), "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>5");
}

} // namespace
} // namespace quvela::test
