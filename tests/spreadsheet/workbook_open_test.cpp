// Opening: the format is told by content, and the example rosters read as an
// independent reader reads them.

#include "common/errors.h"
#include "openpyxl_dump.h"
#include "session_reading.h"
#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

namespace quvela::test {
namespace {

const std::filesystem::path kSource(QUVELA_SOURCE_DIR);

TEST(WorkbookOpen, FormatToldByContentNotByName)
{
    TempFolder folder;
    HandWorkbook book;
    book.sheets.push_back({"S", "worksheets/sheet1.xml",
                           worksheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>包</t></is></c></row>")});
    book.write(folder / "source.xlsx");
    const auto xls = kSource / "tests/spreadsheet/xls_fixtures/xlwt_cells.xls";
    struct Case
    {
        std::filesystem::path from;
        const char *name;
        const char *a1;
    };
    const Case cases[] = {
        {folder / "source.xlsx", "package.xls", "包"},
        {folder / "source.xlsx", "package.XLSX", "包"},
        {folder / "source.xlsx", "package.dat", "包"},
        {folder / "source.xlsx", "package", "包"},
        {xls, "old.xlsx", "姓名"},
        {xls, "old.txt", "姓名"},
        {xls, "old", "姓名"},
    };
    for (const Case &c : cases) {
        std::filesystem::copy_file(c.from, folder / c.name);
        EXPECT_EQ(cellUtf8(*openWorkbook(folder / c.name), 1, 1), c.a1) << c.name;
    }
}

TEST(WorkbookOpen, NoWorkbookThere)
{
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.xlsx");
    for (const char *name : {"missing.xlsx", "folder.xlsx"}) {
        spreadsheet::SpreadsheetSession session;
        EXPECT_THROW(session.open(folder / name), spreadsheet::WorkbookOpenError) << name;
        EXPECT_THROW(session.readCellText(1, 1), QuvelaError) << name;
        session.end();
        session.end();
    }
}

TEST(WorkbookOpen, CellPositionsOutsideTheSheetRefused)
{
    TempFolder folder;
    HandWorkbook book;
    book.sheets.push_back({"S", "worksheets/sheet1.xml", worksheetXml("")});
    book.write(folder / "empty.xlsx");
    const auto session = openWorkbook(folder / "empty.xlsx");
    const std::pair<int, int> outside[] = {{0, 1}, {1, 0}, {-1, 1}, {1048577, 1}, {1, 16385}};
    for (const auto &[row, column] : outside) {
        EXPECT_THROW(session->readCellText(row, column), QuvelaError) << row << "," << column;
        EXPECT_THROW(session->writeCellInteger(row, column, 1), QuvelaError) << row << "," << column;
    }
    EXPECT_EQ(cellUtf8(*session, 1048576, 16384), "");
}

double parsed(const std::string &text)
{
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

class ExampleRoster : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ExampleRoster, ReadsAsOpenpyxlReadsIt)
{
    const auto file = kSource / "examples" / GetParam();
    const OpenpyxlDump dump = dumpWithOpenpyxl(file, "values");
    const auto session = openWorkbook(file);
    int lastRow = 0;
    int lastColumn = 0;
    for (const auto &[position, cell] : dump.cells) {
        const auto [sheet, row, column] = position;
        if (sheet != 0)
            continue;
        lastRow = std::max(lastRow, row);
        lastColumn = std::max(lastColumn, column);
        const std::string text = cellUtf8(*session, row, column);
        SCOPED_TRACE(testing::Message() << GetParam() << " row " << row << " column " << column);
        if (cell.kind == "n") {
            const double expected = parsed(cell.value);
            EXPECT_NEAR(parsed(text), expected, std::fabs(expected) * 1e-14) << text;
            EXPECT_EQ(text.find_first_of("eE,"), std::string::npos) << text;
        } else if (cell.kind == "s" || cell.kind == "d") {
            EXPECT_EQ(text, cell.value);
        } else if (cell.kind == "b") {
            EXPECT_EQ(text, cell.value == "1" ? "TRUE" : "FALSE");
        } else {
            ADD_FAILURE() << "unexpected kind " << cell.kind;
        }
    }
    ASSERT_GE(lastRow, 7) << "titles above row 7 and data from row 7";
    for (int row = 1; row <= lastRow + 2; ++row) {
        for (int column = 1; column <= lastColumn + 2; ++column) {
            if (!dump.cells.count({0, row, column})) {
                EXPECT_EQ(cellUtf8(*session, row, column), "") << GetParam() << " row " << row << " column " << column;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleRoster,
                         ::testing::Values("xj-roster.xlsx", "zw-roster.xlsx", "jb-normal-roster.xlsx",
                                           "jb-rolling-roster.xlsx", "jg-roster.xlsx"),
                         [](const ::testing::TestParamInfo<const char *> &param) {
                             std::string name = param.param;
                             name = name.substr(0, name.find('.'));
                             for (char &c : name)
                                 c = c == '-' ? '_' : c;
                             return name;
                         });

} // namespace
} // namespace quvela::test
