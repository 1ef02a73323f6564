// The roster grid of the ZW, JB and JG windows shows every cell as the tools read it,
// and a cell that cannot be read as a mark, never an exception out of painting.
#include "roster_tools/ui/workbook_model.h"
#include "spreadsheet/spreadsheet_session.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <zip.h>

namespace quvela::test {
namespace {

void writePackage(const std::filesystem::path &file, const std::string &sheetData)
{
    const std::pair<const char *, std::string> parts[] = {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
         "<sheet name=\"名册\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
             + sheetData + "</sheetData></worksheet>"},
    };
    int error = 0;
    zip_t *zip = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto &[name, data] : parts) {
        zip_source_t *source = zip_source_buffer(zip, data.data(), data.size(), 0);
        ASSERT_GE(zip_file_add(zip, name, source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

TEST(WorkbookModel, AFormulaThatCannotBeComputedShowsAMark)
{
    ensureApplication<QApplication>();
    TempFolder folder;
    const auto file = folder / "roster.xlsx";
    writePackage(file, "<row r=\"1\"><c r=\"A1\"><v>900</v></c><c r=\"B1\"><f>A1*0.1</f></c>"
                       "<c r=\"C1\"><f>ROUND(A1/7,0)</f></c></row>");
    auto session = std::make_shared<spreadsheet::SpreadsheetSession>();
    session->open(file);
    roster::WorkbookModel model;
    model.setSheet(session, 1, 3);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("900"));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("90"));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("#未计算"));
}

} // namespace
} // namespace quvela::test
