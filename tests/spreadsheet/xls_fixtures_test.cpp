// .xls workbooks written by xlwt, LibreOffice and by hand, compared cell by cell with
// what xlrd, an independent reader, found in them (the .cells.tsv beside each).

#include "session_reading.h"
#include "spreadsheet/xls_reader.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

namespace quvela::test {
namespace {

using spreadsheet::CellValue;

const std::filesystem::path kFixtures = std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/xls_fixtures";

struct Expected
{
    char kind; // n number, d date, s text, b boolean, e error
    std::string value;
};

std::string unescape(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

double parseDouble(const std::string &text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
    return value;
}

// (row, column) -> expected; date1904 from the header line.
std::map<std::pair<int, int>, Expected> readExpected(const std::filesystem::path &tsv, bool &date1904)
{
    std::map<std::pair<int, int>, Expected> cells;
    std::ifstream in(tsv);
    std::string line;
    EXPECT_TRUE(std::getline(in, line)) << tsv;
    date1904 = line.ends_with("date1904 1");
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string row, column, kind, value;
        std::getline(fields, row, '\t');
        std::getline(fields, column, '\t');
        std::getline(fields, kind, '\t');
        std::getline(fields, value);
        cells[{std::stoi(row), std::stoi(column)}] = {kind.at(0), unescape(value)};
    }
    return cells;
}

class XlsFixture : public ::testing::TestWithParam<const char *>
{
};

TEST_P(XlsFixture, EveryCellAsTheIndependentReaderFoundIt)
{
    const std::filesystem::path file = kFixtures / GetParam();
    bool date1904 = false;
    const auto expected = readExpected(kFixtures / (std::string(GetParam()) + ".cells.tsv"), date1904);
    ASSERT_FALSE(expected.empty());
    const std::unique_ptr<spreadsheet::SheetData> sheet = spreadsheet::readXlsFirstSheet(file);
    for (const auto &[position, want] : expected) {
        const auto [row, column] = position;
        const CellValue got = sheet->cell(row, column);
        SCOPED_TRACE(testing::Message() << GetParam() << " row " << row << " column " << column);
        switch (want.kind) {
        case 'n':
        case 'd':
            ASSERT_EQ(got.type, CellValue::Type::Number);
            EXPECT_EQ(got.isDate, want.kind == 'd');
            // Dates of a 1904 workbook come as serials of the 1900 system.
            EXPECT_EQ(got.number, parseDouble(want.value) + (want.kind == 'd' && date1904 ? 1462 : 0));
            break;
        case 's':
            ASSERT_EQ(got.type, CellValue::Type::Text);
            EXPECT_EQ(got.text, want.value);
            break;
        case 'b':
            ASSERT_EQ(got.type, CellValue::Type::Boolean);
            EXPECT_EQ(got.number, want.value == "1" ? 1 : 0);
            break;
        case 'e':
            ASSERT_EQ(got.type, CellValue::Type::Error);
            EXPECT_EQ(got.text, want.value);
            break;
        default:
            FAIL() << "unknown kind " << want.kind;
        }
    }
    // Nothing beyond what the other reader found.
    for (int row = 1; row <= sheet->lastRow(); ++row) {
        for (int column = 1; column <= sheet->lastColumn(row); ++column) {
            if (sheet->cell(row, column).type != CellValue::Type::Empty) {
                EXPECT_TRUE(expected.count({row, column})) << GetParam() << " extra cell " << row << "," << column;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, XlsFixture,
                         ::testing::Values("xlwt_cells.xls", "xlwt_1904.xls", "xlwt_long_strings.xls",
                                           "xlwt_builtin_cn_dates.xls", "cfb_4096_sectors.xls",
                                           "cfb_difat.xls", "cfb_mini_stream.xls",
                                           "handmade_records.xls", "lo_formulas.xls"),
                         [](const ::testing::TestParamInfo<const char *> &param) {
                             std::string name = param.param;
                             return name.substr(0, name.find('.'));
                         });

// The texts the tools see, for the cell forms where .xls and .xlsx must agree.
TEST(XlsText, AsTheToolsReadIt)
{
    struct Case
    {
        const char *file;
        int row;
        int column;
        const char *text;
    };
    const Case cases[] = {
        {"xlwt_cells.xls", 2, 2, "1200"},
        {"xlwt_cells.xls", 2, 4, "2024-1-31"},
        {"xlwt_cells.xls", 2, 5, "  有空格  "},
        {"xlwt_cells.xls", 3, 4, "1900-2-28"},
        {"xlwt_cells.xls", 4, 2, "0.3"},
        {"xlwt_cells.xls", 5, 5, ""},
        {"xlwt_cells.xls", 6, 3, "#DIV/0!"},
        {"xlwt_cells.xls", 8, 1, "0.00001"},
        {"xlwt_cells.xls", 8, 3, "123456789012"},
        {"xlwt_cells.xls", 65536, 1, "最后一行"},
        {"xlwt_1904.xls", 1, 1, "1904-1-1"},
        {"xlwt_1904.xls", 1, 3, "43000"},
        {"xlwt_builtin_cn_dates.xls", 1, 1, "2023-3-15"},
        {"xlwt_builtin_cn_dates.xls", 1, 6, "2023-3-20"},
        {"xlwt_builtin_cn_dates.xls", 2, 1, "45000"},
        {"lo_formulas.xls", 2, 4, "1545"},
        {"lo_formulas.xls", 4, 4, "1530.25"},
        {"lo_formulas.xls", 5, 1, "TRUE"},
        {"lo_formulas.xls", 5, 2, "#DIV/0!"},
        {"lo_formulas.xls", 5, 3, ""},
        {"lo_formulas.xls", 5, 6, "2024-2-29"},
        {"lo_formulas.xls", 6, 4, "2024-5-6 7:08:09"},
        {"handmade_records.xls", 3, 2, "0.005"},
        {"handmade_records.xls", 8, 2, "-1.5E+300"},
    };
    for (const Case &c : cases) {
        const auto session = openWorkbook(kFixtures / c.file);
        EXPECT_EQ(cellUtf8(*session, c.row, c.column), c.text) << c.file << " " << c.row << "," << c.column;
    }
}

} // namespace
} // namespace quvela::test
