// The edits a write makes to the workbook, relationships and content-type parts.

#include "spreadsheet/xlsx_part_edits.h"
#include "spreadsheet/xml_scanner.h"

#include <gtest/gtest.h>

namespace quvela::spreadsheet {
namespace {

const std::string kOpen = "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";

TEST(XlsxPartEdits, FullCalculationRequestedAtItsSchemaPlace)
{
    struct Case
    {
        const char *what;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"no calcPr", kOpen + "<sheets/></workbook>", kOpen + "<sheets/><calcPr fullCalcOnLoad=\"1\"/></workbook>"},
        {"after definedNames, before extLst",
         kOpen + "<sheets/><definedNames><definedName name=\"a\">S!$A$1</definedName></definedNames><extLst/></workbook>",
         kOpen + "<sheets/><definedNames><definedName name=\"a\">S!$A$1</definedName></definedNames>"
                 "<calcPr fullCalcOnLoad=\"1\"/><extLst/></workbook>"},
        {"before oleSize", kOpen + "<sheets/><oleSize ref=\"A1\"/></workbook>",
         kOpen + "<sheets/><calcPr fullCalcOnLoad=\"1\"/><oleSize ref=\"A1\"/></workbook>"},
        {"existing calcPr keeps its attributes", kOpen + "<sheets/><calcPr calcId='191029' fullCalcOnLoad=\"0\"/></workbook>",
         kOpen + "<sheets/><calcPr calcId='191029' fullCalcOnLoad=\"1\"/></workbook>"},
        {"prefixed", "<x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheets/></x:workbook>",
         "<x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheets/>"
         "<x:calcPr fullCalcOnLoad=\"1\"/></x:workbook>"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(requestFullCalculation(c.in), c.out) << c.what;
    EXPECT_THROW(requestFullCalculation(kOpen + "<sheets>"), XmlError);
}

TEST(XlsxPartEdits, CalculationChainReferencesRemoved)
{
    const std::string types =
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"c\"/><Override PartName=\"/xl/workbook.xml\" ContentType=\"w\"/></Types>";
    EXPECT_EQ(removeContentTypeOverride(types, "/xl/calcChain.xml"),
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Override PartName=\"/xl/workbook.xml\" ContentType=\"w\"/></Types>");
    const std::string rels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"t/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId7\" Type=\"t/calcChain\" Target=\"/xl/calcChain.xml\"/>"
        "<Relationship Id=\"rId8\" Type=\"t/hyperlink\" Target=\"calcChain.xml\" TargetMode=\"External\"/></Relationships>";
    EXPECT_EQ(removeRelationshipsTo(rels, "xl/workbook.xml", "xl/calcChain.xml"),
              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" Type=\"t/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
              "<Relationship Id=\"rId8\" Type=\"t/hyperlink\" Target=\"calcChain.xml\" TargetMode=\"External\"/></Relationships>");
}

} // namespace
} // namespace quvela::spreadsheet
