// Cells of workbooks written by libxlsxwriter, an independent writer, read back as the
// tools read them: in shared-string form and in its constant-memory (inline string) form.

#include "session_reading.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <functional>

namespace quvela::test {
namespace {

struct Writer
{
    lxw_workbook *workbook;
    lxw_worksheet *sheet;
    lxw_row_t row;
    lxw_format *numberFormat(const char *code) const
    {
        lxw_format *format = workbook_add_format(workbook);
        format_set_num_format(format, code);
        return format;
    }
    lxw_format *builtinFormat(uint8_t id) const
    {
        lxw_format *format = workbook_add_format(workbook);
        format_set_num_format_index(format, id);
        return format;
    }
};

struct WrittenCase
{
    std::string what;
    std::function<void(const Writer &)> write; // into column B of its row
    const char *expected;
};

void number(const Writer &w, double value, lxw_format *format = nullptr)
{
    worksheet_write_number(w.sheet, w.row, 1, value, format);
}

void dateTime(const Writer &w, lxw_datetime when, lxw_format *format)
{
    worksheet_write_datetime(w.sheet, w.row, 1, &when, format);
}

std::vector<WrittenCase> writtenCases()
{
    std::vector<WrittenCase> cases = {
        {"text", [](const Writer &w) { worksheet_write_string(w.sheet, w.row, 1, "张三", nullptr); }, "张三"},
        {"text with blanks", [](const Writer &w) { worksheet_write_string(w.sheet, w.row, 1, "  有 空格  ", nullptr); }, "  有 空格  "},
        {"digits as text", [](const Writer &w) { worksheet_write_string(w.sheet, w.row, 1, "001200", nullptr); }, "001200"},
        {"whole number", [](const Writer &w) { number(w, 1200); }, "1200"},
        {"negative whole number", [](const Writer &w) { number(w, -7); }, "-7"},
        {"zero", [](const Writer &w) { number(w, 0); }, "0"},
        {"fraction", [](const Writer &w) { number(w, 1234.5); }, "1234.5"},
        {"binary fraction noise", [](const Writer &w) { number(w, 0.1 + 0.2); }, "0.3"},
        {"round-trip digits", [](const Writer &w) { number(w, 0.57999999999999996); }, "0.58"},
        {"third", [](const Writer &w) { number(w, 1.0 / 3); }, "0.333333333333333"},
        {"two thirds", [](const Writer &w) { number(w, -2.0 / 3); }, "-0.666666666666667"},
        {"fifteen significant digits", [](const Writer &w) { number(w, 123456.7890123456); }, "123456.789012346"},
        {"large whole number", [](const Writer &w) { number(w, 123456789012.0); }, "123456789012"},
        {"money format keeps the value", [](const Writer &w) { number(w, 1200, w.numberFormat("#,##0.00")); }, "1200"},
        {"quoted d is no date", [](const Writer &w) { number(w, 3.5, w.numberFormat("0.0\"d\"")); }, "3.5"},
        {"colour section is no date", [](const Writer &w) { number(w, 12, w.numberFormat("[Red]0.00;[Blue]-0.00")); }, "12"},
        {"boolean true", [](const Writer &w) { worksheet_write_boolean(w.sheet, w.row, 1, 1, nullptr); }, "TRUE"},
        {"boolean false", [](const Writer &w) { worksheet_write_boolean(w.sheet, w.row, 1, 0, nullptr); }, "FALSE"},
        {"formula number result", [](const Writer &w) { worksheet_write_formula_num(w.sheet, w.row, 1, "=1000+200", nullptr, 1200); }, "1200"},
        {"formula fraction result", [](const Writer &w) { worksheet_write_formula_num(w.sheet, w.row, 1, "=0.1+0.2", nullptr, 0.1 + 0.2); }, "0.3"},
        {"formula text result", [](const Writer &w) { worksheet_write_formula_str(w.sheet, w.row, 1, "=\"张\"&\"三\"", nullptr, "张三"); }, "张三"},
        {"formula empty text result", [](const Writer &w) { worksheet_write_formula_str(w.sheet, w.row, 1, "=\"\"", nullptr, ""); }, ""},
        {"formula error result", [](const Writer &w) { worksheet_write_formula_str(w.sheet, w.row, 1, "=1/0", nullptr, "#DIV/0!"); }, "#DIV/0!"},
        {"blank with a format", [](const Writer &w) { worksheet_write_blank(w.sheet, w.row, 1, w.numberFormat("0.00")); }, ""},
        {"date", [](const Writer &w) { dateTime(w, {2024, 1, 31, 0, 0, 0}, w.numberFormat("yyyy-mm-dd")); }, "2024-1-31"},
        {"date and time", [](const Writer &w) { dateTime(w, {2023, 12, 31, 8, 30, 0}, w.numberFormat("yyyy-mm-dd hh:mm:ss")); }, "2023-12-31 8:30:00"},
        {"Chinese custom date", [](const Writer &w) { number(w, 45000, w.numberFormat("yyyy\"年\"m\"月\"d\"日\"")); }, "2023-3-15"},
        {"date with locale prefix", [](const Writer &w) { number(w, 45000, w.numberFormat("[$-804]yyyy\"年\"m\"月\";@")); }, "2023-3-15"},
        {"date serial 59", [](const Writer &w) { number(w, 59, w.numberFormat("yyyy-m-d")); }, "1900-2-28"},
        {"date serial 60", [](const Writer &w) { number(w, 60, w.numberFormat("yyyy-m-d")); }, "1900-2-29"},
        {"date serial 61", [](const Writer &w) { number(w, 61, w.numberFormat("yyyy-m-d")); }, "1900-3-1"},
        {"built-in 14", [](const Writer &w) { number(w, 45000, w.builtinFormat(14)); }, "2023-3-15"},
        {"built-in 22 with time", [](const Writer &w) { number(w, 45000.75, w.builtinFormat(22)); }, "2023-3-15 18:00:00"},
        {"built-in 2 is no date", [](const Writer &w) { number(w, 45000, w.builtinFormat(2)); }, "45000"},
        {"built-in 26 is no date", [](const Writer &w) { number(w, 45000, w.builtinFormat(26)); }, "45000"},
        {"built-in 37 is no date", [](const Writer &w) { number(w, 45000, w.builtinFormat(37)); }, "45000"},
        {"built-in 49 is text", [](const Writer &w) { number(w, 45000, w.builtinFormat(49)); }, "45000"},
    };
    // The date formats Chinese Excel and WPS write by id alone.
    for (uint8_t id : {27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 50, 51, 52, 53, 54, 55, 56, 57, 58}) {
        cases.push_back({"built-in " + std::to_string(id), [id](const Writer &w) { number(w, 45000, w.builtinFormat(id)); }, "2023-3-15"});
    }
    return cases;
}

class XlsxWrittenTest : public ::testing::TestWithParam<bool>
{
};

TEST_P(XlsxWrittenTest, CellsReadAsTheToolsExpect)
{
    TempFolder folder;
    const auto file = folder / "written.xlsx";
    const std::vector<WrittenCase> cases = writtenCases();
    {
        lxw_workbook_options options = {};
        options.constant_memory = GetParam() ? 1 : 0;
        lxw_workbook *workbook = workbook_new_opt(file.string().c_str(), &options);
        ASSERT_NE(workbook, nullptr);
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, "花名册");
        lxw_worksheet *other = workbook_add_worksheet(workbook, "Sheet1");
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const Writer writer{workbook, sheet, static_cast<lxw_row_t>(i + 1)};
            worksheet_write_string(sheet, writer.row, 0, cases[i].what.c_str(), nullptr);
            cases[i].write(writer);
        }
        worksheet_write_string(other, 0, 0, "不是第一张表", nullptr);
        worksheet_write_string(other, 1, 1, "wrong sheet", nullptr);
        // The tab shown on opening is not the first worksheet.
        worksheet_activate(other);
        ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    }
    const auto session = openWorkbook(file);
    EXPECT_EQ(cellUtf8(*session, 1, 1), "");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const int row = static_cast<int>(i) + 2;
        EXPECT_EQ(cellUtf8(*session, row, 1), cases[i].what);
        EXPECT_EQ(cellUtf8(*session, row, 2), cases[i].expected) << cases[i].what;
        EXPECT_EQ(cellUtf8(*session, row, 3), "") << "missing cell right of " << cases[i].what;
    }
    EXPECT_EQ(cellUtf8(*session, static_cast<int>(cases.size()) + 2, 2), "") << "missing row";
    EXPECT_EQ(cellUtf8(*session, 1048576, 16384), "") << "last cell of the sheet";
}

TEST_P(XlsxWrittenTest, RichTextRunsJoined)
{
    TempFolder folder;
    const auto file = folder / "rich.xlsx";
    {
        lxw_workbook_options options = {};
        options.constant_memory = GetParam() ? 1 : 0;
        lxw_workbook *workbook = workbook_new_opt(file.string().c_str(), &options);
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
        lxw_format *bold = workbook_add_format(workbook);
        format_set_bold(bold);
        lxw_rich_string_tuple first = {nullptr, const_cast<char *>("工资 ")};
        lxw_rich_string_tuple second = {bold, const_cast<char *>("合计")};
        lxw_rich_string_tuple third = {nullptr, const_cast<char *>(" (元)")};
        lxw_rich_string_tuple *runs[] = {&first, &second, &third, nullptr};
        ASSERT_EQ(worksheet_write_rich_string(sheet, 0, 0, runs, nullptr), LXW_NO_ERROR);
        ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    }
    EXPECT_EQ(cellUtf8(*openWorkbook(file), 1, 1), "工资 合计 (元)");
}

INSTANTIATE_TEST_SUITE_P(Strings, XlsxWrittenTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &param) { return param.param ? "Inline" : "Shared"; });

} // namespace
} // namespace quvela::test
