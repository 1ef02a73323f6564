// The integer reading of cells, through a workbook file.

#include "common/errors.h"
#include "session_reading.h"
#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>

#include <optional>

namespace quvela::test {
namespace {

struct IntegerCase
{
    const char *cell; // the <c> content after r="A{row}"
    std::optional<int32_t> expected;
    const char *refusedText = ""; // the text quoted in the message when refused
};

const IntegerCase kCases[] = {
    {"><v>1200</v></c>", 1200},
    {"><v>-7</v></c>", -7},
    {"><v>0.5</v></c>", 0},
    {"><v>1.5</v></c>", 2},
    {"><v>2.5</v></c>", 2},
    {"><v>3.5</v></c>", 4},
    {"><v>-2.5</v></c>", -2},
    {"><v>-0.5</v></c>", 0},
    {"><v>2.4999999</v></c>", 2},
    {"><v>2.5000001</v></c>", 3},
    {"><v>1234.5</v></c>", 1234},
    {"><v>2147483647</v></c>", 2147483647},
    {"><v>-2147483648</v></c>", -2147483647 - 1},
    {"><v>2147483648</v></c>", std::nullopt, "2147483648"},
    {"><v>1E+20</v></c>", std::nullopt, "100000000000000000000"},
    {"><f>A1+1</f><v>41.5</v></c>", 42},
    {"/>", 0},
    {"><v></v></c>", 0},
    {" t=\"inlineStr\"><is><t>345</t></is></c>", 345},
    {" t=\"inlineStr\"><is><t>  345</t></is></c>", 345},
    {" t=\"inlineStr\"><is><t>-12</t></is></c>", -12},
    {" t=\"inlineStr\"><is><t>+8</t></is></c>", 8},
    {" t=\"inlineStr\"><is><t>12.5</t></is></c>", 12},
    {" t=\"inlineStr\"><is><t>13.5</t></is></c>", 14},
    {" t=\"inlineStr\"><is><t>-0.4</t></is></c>", 0},
    {" t=\"inlineStr\"><is><t>.5</t></is></c>", 0},
    {" t=\"inlineStr\"><is><t>1E3</t></is></c>", 1000},
    {" t=\"inlineStr\"><is><t>2147483647.4</t></is></c>", 2147483647},
    {" t=\"inlineStr\"><is><t>2147483647.5</t></is></c>", std::nullopt, "2147483647.5"},
    {" t=\"inlineStr\"><is><t>12.5 </t></is></c>", std::nullopt, "12.5 "},
    {" t=\"inlineStr\"><is><t>inf</t></is></c>", std::nullopt, "inf"},
    {" t=\"inlineStr\"><is><t>nan</t></is></c>", std::nullopt, "nan"},
    {" t=\"inlineStr\"><is><t>--5</t></is></c>", std::nullopt, "--5"},
    {" t=\"inlineStr\"><is><t>+-5</t></is></c>", std::nullopt, "+-5"},
    {" t=\"inlineStr\"><is><t>abc</t></is></c>", std::nullopt, "abc"},
    {" t=\"inlineStr\"><is><t>12元</t></is></c>", std::nullopt, "12元"},
    {" t=\"inlineStr\"><is><t>-</t></is></c>", std::nullopt, "-"},
    {" t=\"inlineStr\"><is><t>99999999999</t></is></c>", std::nullopt, "99999999999"},
    {" t=\"str\"><f>\"7\"</f><v>7</v></c>", 7},
    {" t=\"e\"><v>#N/A</v></c>", std::nullopt, "#N/A"},
};

TEST(CellInteger, TableOfCells)
{
    TempFolder folder;
    std::string rows;
    int row = 0;
    for (const IntegerCase &c : kCases) {
        ++row;
        rows += "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) + '"' + c.cell + "</row>";
    }
    HandWorkbook book;
    book.sheets.push_back({"S", "worksheets/sheet1.xml", worksheetXml(rows)});
    book.write(folder / "integers.xlsx");
    const auto session = openWorkbook(folder / "integers.xlsx");
    row = 0;
    for (const IntegerCase &c : kCases) {
        ++row;
        if (c.expected) {
            EXPECT_EQ(session->readCellInteger(row, 1), *c.expected) << c.cell;
            continue;
        }
        try {
            session->readCellInteger(row, 1);
            ADD_FAILURE() << "no error for " << c.cell;
        } catch (const ConversionError &e) {
            EXPECT_EQ(gbk::toUtf8(e.message()), std::string("'") + c.refusedText + "' is not a valid integer value");
        }
    }
    // Beyond the last cell.
    EXPECT_EQ(session->readCellInteger(row + 5, 9), 0);
}

} // namespace
} // namespace quvela::test
