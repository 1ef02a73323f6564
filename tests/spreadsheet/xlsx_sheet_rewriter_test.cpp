// The worksheet XML a write produces, exactly: only the written cells and the
// references, spans and dimension that must follow them change.

#include "spreadsheet/xlsx_sheet_rewriter.h"

#include <gtest/gtest.h>

namespace quvela::spreadsheet {
namespace {

std::string rewritten(const std::string &xml, const PendingWrites &writes)
{
    std::size_t at = 0;
    return rewriteSheet(
        [&](char *buffer, std::size_t capacity) {
            // Small chunks, so that tokens cross chunk boundaries.
            const std::size_t n = std::min<std::size_t>({capacity, 7, xml.size() - at});
            xml.copy(buffer, n, at);
            at += n;
            return n;
        },
        writes);
}

const std::string kHead = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";

TEST(XlsxSheetRewriter, ExactOutput)
{
    struct Case
    {
        const char *what;
        std::string in;
        PendingWrites writes;
        std::string out;
    };
    const Case cases[] = {
        {"value replaced, style and other attributes kept",
         kHead + "<sheetData><row r=\"1\"><c r=\"A1\" s=\"3\" t=\"s\" cm=\"1\" vm=\"2\"><v>0</v></c></row></sheetData></worksheet>",
         {{1, {{1, 1200}}}},
         kHead + "<sheetData><row r=\"1\"><c r=\"A1\" s=\"3\"><v>1200</v></c></row></sheetData></worksheet>"},
        {"formula and inline text removed, extension list kept",
         kHead + "<sheetData><row r=\"2\"><c r=\"B2\" t=\"str\"><f>A2&amp;\"\"</f><v>x</v><extLst><ext uri=\"u\"/></extLst></c>"
                 "<c r=\"C2\" t=\"inlineStr\"><is><r><t>a</t></r></is></c></row></sheetData></worksheet>",
         {{2, {{2, -5}, {3, 0}}}},
         kHead + "<sheetData><row r=\"2\"><c r=\"B2\"><v>-5</v><extLst><ext uri=\"u\"/></extLst></c>"
                 "<c r=\"C2\"><v>0</v></c></row></sheetData></worksheet>"},
        {"new cell takes the row style of a custom-format row, else the column style",
         kHead + "<cols><col min=\"3\" max=\"4\" style=\"7\"/></cols><sheetData>"
                 "<row r=\"1\" s=\"5\" customFormat=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                 "<row r=\"2\" s=\"5\"><c r=\"A2\"><v>1</v></c></row></sheetData></worksheet>",
         {{1, {{2, 12}}}, {2, {{3, 23}}}, {3, {{4, 34}, {5, 35}}}},
         kHead + "<cols><col min=\"3\" max=\"4\" style=\"7\"/></cols><sheetData>"
                 "<row r=\"1\" s=\"5\" customFormat=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" s=\"5\"><v>12</v></c></row>"
                 "<row r=\"2\" s=\"5\"><c r=\"A2\"><v>1</v></c><c r=\"C2\" s=\"7\"><v>23</v></c></row>"
                 "<row r=\"3\"><c r=\"D3\" s=\"7\"><v>34</v></c><c r=\"E3\"><v>35</v></c></row></sheetData></worksheet>"},
        {"dimension and spans widened, several spans dropped",
         kHead + "<dimension ref=\"B2:C3\"/><sheetData><row r=\"2\" spans=\"2:3\"><c r=\"B2\"><v>1</v></c></row>"
                 "<row r=\"3\" spans=\"2:2 4:4\"><c r=\"B3\"><v>1</v></c></row></sheetData></worksheet>",
         {{2, {{5, 25}}}, {3, {{1, 31}}}, {9, {{1, 91}}}},
         kHead + "<dimension ref=\"A2:E9\"/><sheetData><row r=\"2\" spans=\"2:5\"><c r=\"B2\"><v>1</v></c><c r=\"E2\"><v>25</v></c></row>"
                 "<row r=\"3\"><c r=\"A3\"><v>31</v></c><c r=\"B3\"><v>1</v></c></row><row r=\"9\"><c r=\"A9\"><v>91</v></c></row>"
                 "</sheetData></worksheet>"},
        {"references added where missing, nothing else moved",
         kHead + "<sheetData><row><c><v>1</v></c><c t=\"b\"><v>1</v></c></row><row><c><v>2</v></c></row></sheetData></worksheet>",
         {{1, {{2, 7}}}},
         kHead + "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>7</v></c></row>"
                 "<row r=\"2\"><c r=\"A2\"><v>2</v></c></row></sheetData></worksheet>"},
        {"untouched text kept byte for byte",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n" + kHead
             + "<!-- note --><sheetData>\n  <row r='1'><c r='A1' t='inlineStr'><is><t xml:space='preserve'> &amp; </t></is></c></row>\n"
               "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A5:B5\"/></mergeCells></worksheet>",
         {{4, {{1, 1}}}},
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n" + kHead
             + "<!-- note --><sheetData>\n  <row r='1'><c r='A1' t='inlineStr'><is><t xml:space='preserve'> &amp; </t></is></c></row>\n"
               "<row r=\"4\"><c r=\"A4\"><v>1</v></c></row></sheetData><mergeCells count=\"1\"><mergeCell ref=\"A5:B5\"/></mergeCells></worksheet>"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rewritten(c.in, c.writes), c.out) << c.what;
}

} // namespace
} // namespace quvela::spreadsheet
