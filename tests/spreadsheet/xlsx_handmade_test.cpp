// Package structures that Excel itself rarely writes but LibreOffice, WPS and other
// producers do, assembled part by part.

#include "session_reading.h"
#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>

namespace quvela::test {
namespace {

const char kStyles[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"3\"><numFmt numFmtId=\"176\" formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;\"/>"
    "<numFmt numFmtId=\"14\" formatCode=\"0.00\"/>"
    "<numFmt numFmtId=\"177\" formatCode=\"&quot;第&quot;0&quot;号&quot;\"/></numFmts>"
    "<cellXfs count=\"5\"><xf numFmtId=\"0\"/><xf numFmtId=\"176\"/><xf numFmtId=\"14\"/>"
    "<xf numFmtId=\"31\"/><xf numFmtId=\"177\"/></cellXfs></styleSheet>";

struct HandCase
{
    const char *what;
    std::string cellXml; // one <c> with r="B{row}" filled in
    const char *expected;
};

std::vector<HandCase> handCases()
{
    return {
        {"shared string", "<c r=\"B@\" t=\"s\"><v>0</v></c>", "张三"},
        {"shared rich runs joined, phonetic skipped", "<c r=\"B@\" t=\"s\"><v>1</v></c>", "工资 合计"},
        {"shared escapes", "<c r=\"B@\" t=\"s\"><v>2</v></c>", "A_x0041_\tB"},
        {"shared blanks kept", "<c r=\"B@\" t=\"s\"><v>3</v></c>", "  两 头  "},
        {"shared index out of range", "<c r=\"B@\" t=\"s\"><v>99</v></c>", ""},
        {"inline string", "<c r=\"B@\" t=\"inlineStr\"><is><t>李四</t></is></c>", "李四"},
        {"inline rich runs", "<c r=\"B@\" t=\"inlineStr\"><is><r><t>王</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\"> 五</t></r></is></c>", "王 五"},
        {"inline escape", "<c r=\"B@\" t=\"inlineStr\"><is><t>x_x4E2D_y</t></is></c>", "x中y"},
        {"entities", "<c r=\"B@\" t=\"inlineStr\"><is><t>&lt;a&amp;b&gt; &#x5F20;</t></is></c>", "<a&b> 张"},
        {"number", "<c r=\"B@\"><v>1200</v></c>", "1200"},
        {"number typed n", "<c r=\"B@\" t=\"n\"><v>1.2E3</v></c>", "1200"},
        {"number with round-trip digits", "<c r=\"B@\"><v>0.30000000000000004</v></c>", "0.3"},
        {"empty value", "<c r=\"B@\"><v></v></c>", ""},
        {"no value", "<c r=\"B@\" s=\"1\"/>", ""},
        {"boolean", "<c r=\"B@\" t=\"b\"><v>1</v></c>", "TRUE"},
        {"error", "<c r=\"B@\" t=\"e\"><v>#N/A</v></c>", "#N/A"},
        {"formula error", "<c r=\"B@\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>", "#DIV/0!"},
        {"formula string", "<c r=\"B@\" t=\"str\"><f>A1&amp;\"x\"</f><v>总计x</v></c>", "总计x"},
        {"formula cached number", "<c r=\"B@\"><f>SUM(C1:C9)</f><v>4521.5</v></c>", "4521.5"},
        {"formula without cached result, computed", "<c r=\"B@\"><f>SUM(C1:C9)</f></c>", "0"},
        {"ISO date cell", "<c r=\"B@\" t=\"d\"><v>2024-02-29T00:00:00</v></c>", "2024-2-29"},
        {"custom date format", "<c r=\"B@\" s=\"1\"><v>45000</v></c>", "2023-3-15"},
        {"custom format overrides built-in 14", "<c r=\"B@\" s=\"2\"><v>45000</v></c>", "45000"},
        {"built-in 31 without numFmt", "<c r=\"B@\" s=\"3\"><v>45000</v></c>", "2023-3-15"},
        {"quoted text format", "<c r=\"B@\" s=\"4\"><v>12</v></c>", "12"},
        {"style out of range", "<c r=\"B@\" s=\"77\"><v>45000</v></c>", "45000"},
        {"prefixed elements", "<x:c r=\"B@\" t=\"s\"><x:v>0</x:v></x:c>", "张三"},
    };
}

std::string withRow(std::string cell, int row)
{
    for (std::size_t at = cell.find('@'); at != std::string::npos; at = cell.find('@'))
        cell.replace(at, 1, std::to_string(row));
    return cell;
}

const char kSharedStrings[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"4\" uniqueCount=\"4\">"
    "<si><t>张三</t></si>"
    "<si><r><t xml:space=\"preserve\">工资 </t></r><r><rPr><b/></rPr><t>合计</t></r>"
    "<rPh sb=\"0\" eb=\"2\"><t>gongzi</t></rPh><phoneticPr fontId=\"1\"/></si>"
    "<si><t>_x0041__x005F_x0041__x0009_B</t></si>"
    "<si><t xml:space=\"preserve\">  两 头  </t></si>"
    "</sst>";

TEST(XlsxHandmade, CellForms)
{
    TempFolder folder;
    const std::vector<HandCase> cases = handCases();
    std::string rows;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        rows += "<x:row r=\"" + std::to_string(row) + "\">"
            + withRow(cases[i].cellXml, row) + "</x:row>";
    }
    HandWorkbook book;
    // A producer that prefixes the main namespace.
    book.sheets.push_back({"数据", "worksheets/sheet1.xml",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><x:worksheet "
                           "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
                               + rows + "</x:sheetData></x:worksheet>"});
    book.sharedStrings = kSharedStrings;
    book.styles = kStyles;
    book.write(folder / "cells.xlsx");
    const auto session = openWorkbook(folder / "cells.xlsx");
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cellUtf8(*session, static_cast<int>(i) + 1, 2), cases[i].expected) << cases[i].what;
}

struct PositionCase
{
    const char *what;
    std::string sheetData;
    std::vector<std::tuple<int, int, const char *>> cells;
};

std::vector<PositionCase> positionCases()
{
    return {
        {"cells without r follow the previous cell",
         "<row r=\"2\"><c><v>1</v></c><c><v>2</v></c><c r=\"E2\"><v>5</v></c><c><v>6</v></c></row>",
         {{2, 1, "1"}, {2, 2, "2"}, {2, 3, ""}, {2, 5, "5"}, {2, 6, "6"}}},
        {"rows without r follow the previous row",
         "<row><c r=\"A1\"><v>1</v></c></row><row r=\"5\"><c r=\"A5\"><v>5</v></c></row><row><c><v>6</v></c></row>",
         {{1, 1, "1"}, {2, 1, ""}, {5, 1, "5"}, {6, 1, "6"}}},
        {"absolute-style references",
         "<row r=\"3\"><c r=\"$C$3\"><v>33</v></c></row>", {{3, 3, "33"}}},
        {"last column and row of a sheet",
         "<row r=\"1048576\"><c r=\"XFD1048576\"><v>9</v></c></row>", {{1048576, 16384, "9"}, {1, 1, ""}}},
        {"empty row elements",
         "<row r=\"1\"/><row r=\"2\" spans=\"1:3\"></row><row r=\"3\"><c r=\"B3\"><v>7</v></c></row>",
         {{1, 1, ""}, {2, 2, ""}, {3, 2, "7"}}},
        {"rows out of order",
         "<row r=\"4\"><c r=\"A4\"><v>4</v></c></row><row r=\"2\"><c r=\"A2\"><v>2</v></c></row>",
         {{2, 1, "2"}, {4, 1, "4"}}},
    };
}

TEST(XlsxHandmade, CellPositions)
{
    TempFolder folder;
    for (const PositionCase &c : positionCases()) {
        HandWorkbook book;
        book.sheets.push_back({"S", "worksheets/sheet1.xml", worksheetXml(c.sheetData)});
        book.write(folder / "positions.xlsx");
        const auto session = openWorkbook(folder / "positions.xlsx");
        for (const auto &[row, column, expected] : c.cells)
            EXPECT_EQ(cellUtf8(*session, row, column), expected) << c.what << " at " << row << "," << column;
    }
}

TEST(XlsxHandmade, FirstSheetInWorkbookOrderWhateverItsPart)
{
    TempFolder folder;
    struct Case
    {
        const char *what;
        std::vector<HandWorkbook::Sheet> sheets;
    };
    const std::string first = worksheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>第一张</t></is></c></row>");
    const std::string later = worksheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>后面的</t></is></c></row>");
    const std::vector<Case> cases = {
        {"first sheet in sheet2.xml", {{"甲", "worksheets/sheet2.xml", first}, {"乙", "worksheets/sheet1.xml", later}}},
        {"part names of another producer", {{"甲", "worksheets/Sheet_B.xml", first}, {"乙", "worksheets/Sheet_A.xml", later}}},
        {"absolute target", {{"甲", "/xl/worksheets/sheet9.xml", first}, {"乙", "worksheets/sheet1.xml", later}}},
        {"target above the workbook folder", {{"甲", "../xl/data/first.xml", first}, {"乙", "worksheets/sheet1.xml", later}}},
    };
    for (const Case &c : cases) {
        HandWorkbook book;
        book.sheets = c.sheets;
        std::vector<ZipPart> parts = book.parts();
        for (ZipPart &part : parts) {
            // Part names as stored, whatever the relationship's spelling.
            if (part.name == "xl//xl/worksheets/sheet9.xml")
                part.name = "xl/worksheets/sheet9.xml";
            if (part.name == "xl/../xl/data/first.xml")
                part.name = "xl/data/first.xml";
        }
        writeZip(folder / "order.xlsx", parts);
        EXPECT_EQ(cellUtf8(*openWorkbook(folder / "order.xlsx"), 1, 1), "第一张") << c.what;
    }
}

TEST(XlsxHandmade, DateSystems)
{
    TempFolder folder;
    struct Case
    {
        const char *workbookPr;
        const char *zero;
        const char *serial45000;
    };
    const Case cases[] = {
        {"", "1899-12-30", "2023-3-15"},
        {"date1904=\"0\"", "1899-12-30", "2023-3-15"},
        {"date1904=\"1\"", "1904-1-1", "2027-3-16"},
        {"date1904=\"true\"", "1904-1-1", "2027-3-16"},
    };
    for (const Case &c : cases) {
        HandWorkbook book;
        book.workbookPr = c.workbookPr;
        book.styles = kStyles;
        book.sheets.push_back({"S", "worksheets/sheet1.xml",
                               worksheetXml("<row r=\"1\"><c r=\"A1\" s=\"3\"><v>0</v></c><c r=\"B1\" s=\"3\"><v>45000</v></c>"
                                            "<c r=\"C1\" t=\"d\"><v>2024-01-31</v></c><c r=\"D1\"><v>45000</v></c></row>")});
        book.write(folder / "dates.xlsx");
        const auto session = openWorkbook(folder / "dates.xlsx");
        if (std::string_view(c.zero) != "1899-12-30") { // serial 0 of the 1900 system shows no date
            EXPECT_EQ(cellUtf8(*session, 1, 1), c.zero) << c.workbookPr;
        }
        EXPECT_EQ(cellUtf8(*session, 1, 2), c.serial45000) << c.workbookPr;
        EXPECT_EQ(cellUtf8(*session, 1, 3), "2024-1-31") << c.workbookPr;
        EXPECT_EQ(cellUtf8(*session, 1, 4), "45000") << c.workbookPr;
    }
}

} // namespace
} // namespace quvela::test
