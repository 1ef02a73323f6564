// Writing integers into an .xlsx in place: what changes, what must not, and what is
// refused. The saved files are checked with openpyxl, an independent reader.

#include "common/errors.h"
#include "openpyxl_dump.h"
#include "session_reading.h"
#include "spreadsheet/compound_file.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <csignal>
#include <optional>
#include <regex>
#include <sys/resource.h>

namespace quvela::test {
namespace {

const char kSheetPart[] = "xl/worksheets/sheet1.xml";
const char kCalcChainRel[] =
    "<Relationship Id=\"rId99\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain\" Target=\"calcChain.xml\"/>";
const char kCalcChainOverride[] =
    "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>";

void replaceOnce(std::string &text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// A roster as Excel users keep them: a merged title, styled numbers, formulas (one of
// them shared), an array formula, a table, print settings, a second sheet and a
// calculation chain.
void makeRoster(const std::filesystem::path &file)
{
    const auto plain = file.parent_path() / "plain.xlsx";
    {
        lxw_workbook *book = workbook_new(plain.string().c_str());
        lxw_worksheet *sheet = workbook_add_worksheet(book, "工资");
        lxw_worksheet *other = workbook_add_worksheet(book, "其他");
        lxw_format *title = workbook_add_format(book);
        format_set_bold(title);
        lxw_format *money = workbook_add_format(book);
        format_set_num_format(money, "#,##0.00");
        format_set_bold(money);
        worksheet_merge_range(sheet, 0, 0, 0, 5, "工资表", title);
        const char *headings[] = {"姓名", "岗位工资", "薪级工资", "合计"};
        for (lxw_col_t c = 0; c < 4; ++c)
            worksheet_write_string(sheet, 1, c, headings[c], nullptr);
        const struct { const char *name; double post, grade; } people[] = {
            {"张三", 1200, 345}, {"李四", 980, 421.5}, {"王五", 1530, 0.25}};
        for (lxw_row_t i = 0; i < 3; ++i) {
            const lxw_row_t r = 2 + i;
            worksheet_write_string(sheet, r, 0, people[i].name, nullptr);
            worksheet_write_number(sheet, r, 1, people[i].post, money);
            worksheet_write_number(sheet, r, 2, people[i].grade, money);
            const std::string formula = "=B" + std::to_string(r + 1) + "+C" + std::to_string(r + 1);
            worksheet_write_formula_num(sheet, r, 3, formula.c_str(), nullptr, people[i].post + people[i].grade);
        }
        worksheet_write_number(sheet, 2, 4, 7, nullptr); // E3; E4 stays missing
        worksheet_write_array_formula_num(sheet, 2, 6, 4, 6, "{=B3:B5*2}", nullptr, 2400);
        worksheet_write_string(sheet, 7, 0, "备注", nullptr);
        worksheet_write_number(sheet, 7, 2, 5, nullptr);
        worksheet_add_table(sheet, 9, 8, 11, 9, nullptr); // I10:J12
        worksheet_write_number(sheet, 10, 8, 1, nullptr);
        worksheet_set_landscape(sheet);
        worksheet_set_paper(sheet, 9);
        worksheet_write_string(other, 0, 0, "其他表", nullptr);
        worksheet_write_number(other, 1, 1, 42, nullptr);
        ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    }
    std::vector<ZipPart> parts = readZip(plain);
    std::filesystem::remove(plain);
    // The totals as one shared formula, the way Excel stores a filled-down column.
    std::string &sheet = partData(parts, kSheetPart);
    replaceOnce(sheet, "<f>B3+C3</f>", "<f t=\"shared\" ref=\"D3:D5\" si=\"0\">B3+C3</f>");
    replaceOnce(sheet, "<f>B4+C4</f>", "<f t=\"shared\" si=\"0\"/>");
    replaceOnce(sheet, "<f>B5+C5</f>", "<f t=\"shared\" si=\"0\"/>");
    // As Excel saves it: no recalculation asked for.
    replaceOnce(partData(parts, "xl/workbook.xml"), "<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/>",
                "<calcPr calcId=\"124519\"/>");
    replaceOnce(partData(parts, "xl/_rels/workbook.xml.rels"), "</Relationships>",
                std::string(kCalcChainRel) + "</Relationships>");
    replaceOnce(partData(parts, "[Content_Types].xml"), "</Types>", std::string(kCalcChainOverride) + "</Types>");
    parts.push_back({"xl/calcChain.xml",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<calcChain "
                     "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"D3\" i=\"1\"/>"
                     "<c r=\"D4\"/><c r=\"D5\"/><c r=\"G3\"/></calcChain>"});
    writeZip(file, parts);
}

struct Write
{
    int row;
    int column;
    int32_t value;
    const char *what;
};

const Write kWrites[] = {
    {3, 3, 400, "styled number"},
    {4, 4, 1500, "dependant of a shared formula"},
    {4, 5, 8, "missing cell between existing ones"},
    {6, 2, 6, "missing row between existing ones"},
    {8, 12, -12, "after the last cell of a row"},
    {20, 1, 2000000000, "after the last row"},
    {1, 1, 1, "top-left cell of a merged range"},
    {11, 9, 3, "table data"},
};

std::string cellTag(const std::string &sheetXml, const std::string &reference)
{
    std::smatch match;
    if (std::regex_search(sheetXml, match, std::regex("<c r=\"" + reference + "\"[^>]*>")))
        return match.str();
    return {};
}

// Rows and cells must stay in ascending order for Excel to open the file without repair.
void expectInOrder(const std::string &sheetXml)
{
    const std::regex row("<row r=\"([0-9]+)\"[^>]*>(.*?)</row>");
    const std::regex cell("<c r=\"([A-Z]+)([0-9]+)\"");
    int lastRow = 0;
    for (auto it = std::sregex_iterator(sheetXml.begin(), sheetXml.end(), row); it != std::sregex_iterator(); ++it) {
        const int r = std::stoi((*it)[1]);
        EXPECT_GT(r, lastRow);
        lastRow = r;
        const std::string cells = (*it)[2];
        std::string lastColumn;
        for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell); c != std::sregex_iterator(); ++c) {
            const std::string column = (*c)[1];
            EXPECT_EQ(std::stoi((*c)[2]), r) << "cell of another row inside row " << r;
            EXPECT_TRUE(column.size() > lastColumn.size() || (column.size() == lastColumn.size() && column > lastColumn))
                << column << " after " << lastColumn << " in row " << r;
            lastColumn = column;
        }
    }
}

TEST(XlsxWrite, ChangesTheWrittenCellsAndNothingElse)
{
    TempFolder folder;
    const auto file = folder / "roster.xlsx";
    makeRoster(file);
    // The replaced file keeps the permissions the clerk's file had.
    const auto permissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
        | std::filesystem::perms::group_read;
    std::filesystem::permissions(file, permissions);
    const std::vector<ZipPart> before = readZip(file);
    const OpenpyxlDump dumpBefore = dumpWithOpenpyxl(file, "formulas");
    {
        const auto session = openWorkbook(file);
        for (const Write &w : kWrites)
            session->writeCellInteger(w.row, w.column, w.value);
        // A read before saving sees the value written.
        EXPECT_EQ(session->readCellInteger(4, 4), 1500);
        session->closeWithSave();
        session->end();
    }
    const std::vector<ZipPart> after = readZip(file);
    EXPECT_EQ(std::filesystem::status(file).permissions(), permissions);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 1)
        << "temporary file left behind";

    // Every part kept in its place, byte for byte, but the four the write must change.
    std::vector<std::string> expectedNames;
    for (const ZipPart &part : before) {
        if (part.name != "xl/calcChain.xml")
            expectedNames.push_back(part.name);
    }
    std::vector<std::string> names;
    for (const ZipPart &part : after)
        names.push_back(part.name);
    ASSERT_EQ(names, expectedNames);
    for (std::size_t i = 0, j = 0; i < before.size(); ++i) {
        if (before[i].name == "xl/calcChain.xml")
            continue;
        const ZipPart &old = before[i];
        const ZipPart &now = after[j++];
        std::string expected = old.data;
        if (old.name == "xl/_rels/workbook.xml.rels")
            replaceOnce(expected, kCalcChainRel, "");
        else if (old.name == "[Content_Types].xml")
            replaceOnce(expected, kCalcChainOverride, "");
        else if (old.name == "xl/workbook.xml")
            replaceOnce(expected, "<calcPr calcId=\"124519\"/>", "<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/>");
        else if (old.name == kSheetPart)
            continue;
        EXPECT_EQ(now.data, expected) << old.name;
    }
    const std::string sheet = partData(after, kSheetPart);
    const std::string oldSheet = partData(before, kSheetPart);
    expectInOrder(sheet);
    // The written cell keeps its style attribute and loses its formula.
    EXPECT_EQ(cellTag(sheet, "C3"), cellTag(oldSheet, "C3"));
    EXPECT_NE(cellTag(sheet, "C3").find(" s=\""), std::string::npos);
    EXPECT_NE(sheet.find("<c r=\"D4\"><v>1500</v></c>"), std::string::npos);
    EXPECT_NE(sheet.find("<f t=\"shared\" ref=\"D3:D5\" si=\"0\">B3+C3</f>"), std::string::npos);

    // The independent reader finds the new values and every other cell as it was.
    const OpenpyxlDump dumpAfter = dumpWithOpenpyxl(file, "formulas");
    EXPECT_EQ(dumpAfter.sheetLines, dumpBefore.sheetLines);
    auto expectedCells = dumpBefore.cells;
    for (const Write &w : kWrites) {
        DumpedCell &cell = expectedCells[{0, w.row, w.column}];
        cell.kind = "n";
        cell.value = std::to_string(w.value) + ".0";
        if (cell.numberFormat.empty()) { // a created cell: no style of its own
            cell.numberFormat = "General";
            cell.bold = "0";
        }
    }
    for (const auto &[position, cell] : expectedCells) {
        const auto found = dumpAfter.cells.find(position);
        if (found == dumpAfter.cells.end()) {
            ADD_FAILURE() << "cell lost at sheet " << std::get<0>(position) << " row " << std::get<1>(position)
                          << " column " << std::get<2>(position);
            continue;
        }
        EXPECT_EQ(found->second, cell) << "sheet " << std::get<0>(position) << " row " << std::get<1>(position)
                                       << " column " << std::get<2>(position) << ": " << found->second.kind << " "
                                       << found->second.value << " " << found->second.numberFormat;
    }
    EXPECT_EQ(dumpAfter.cells.size(), expectedCells.size());
    // Our own reader agrees.
    const auto reread = openWorkbook(file);
    for (const Write &w : kWrites)
        EXPECT_EQ(reread->readCellInteger(w.row, w.column), w.value) << w.what;
    EXPECT_EQ(cellUtf8(*reread, 5, 4), "1530.25");
}

TEST(XlsxWrite, RefusedCellsLeaveTheFileAsItWas)
{
    struct Refusal
    {
        int row;
        int column;
        const char *messagePart;
    };
    const Refusal refusals[] = {
        {1, 2, "B1 位于合并单元格 A1:F1"},
        {1, 6, "F1 位于合并单元格 A1:F1"},
        {3, 7, "G3 位于数组公式 G3:G5"},
        {5, 7, "G5 位于数组公式 G3:G5"},
        {10, 9, "I10 是表格 I10:J10 的标题行"},
        {10, 10, "J10 是表格 I10:J10 的标题行"},
    };
    TempFolder folder;
    const auto file = folder / "roster.xlsx";
    makeRoster(file);
    const std::string original = readBytes(file);
    for (const Refusal &r : refusals) {
        const auto session = openWorkbook(file);
        try {
            session->writeCellInteger(r.row, r.column, 5);
            ADD_FAILURE() << "written: " << r.messagePart;
        } catch (const QuvelaError &e) {
            EXPECT_NE(gbk::toUtf8(e.message()).find(r.messagePart), std::string::npos) << gbk::toUtf8(e.message());
        }
        session->closeWithSave();
        session->end();
        EXPECT_EQ(readBytes(file), original) << r.messagePart;
    }
}

TEST(XlsxWrite, XlsWorkbookIsWrittenInItsOwnFormat)
{
    TempFolder folder;
    const auto file = folder / "roster.xls";
    std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/xls_fixtures/xlwt_cells.xls", file);
    const auto session = openWorkbook(file);
    EXPECT_EQ(cellUtf8(*session, 2, 2), "1200");
    session->writeCellInteger(2, 2, 1300);
    EXPECT_EQ(cellUtf8(*session, 2, 2), "1300");
    session->closeWithSave();
    session->end();
    EXPECT_TRUE(spreadsheet::CompoundFile::hasSignature(readBytes(file)));
    EXPECT_EQ(cellUtf8(*openWorkbook(file), 2, 2), "1300");
}

TEST(XlsxWrite, SheetsOfOtherProducers)
{
    struct Case
    {
        const char *what;
        std::string sheetData;
        std::vector<Write> writes;
        // (row, column, kind, value) openpyxl must find afterwards, and nothing else
        std::vector<std::tuple<int, int, const char *, const char *>> cells;
    };
    const Case cases[] = {
        {"rows and cells without references",
         "<row><c><v>1</v></c><c><v>2</v></c></row><row><c t=\"inlineStr\"><is><t>x</t></is></c><c><v>3</v></c></row>",
         {{1, 3, 5, ""}, {2, 1, 9, ""}, {4, 2, 7, ""}},
         {{1, 1, "n", "1.0"}, {1, 2, "n", "2.0"}, {1, 3, "n", "5.0"}, {2, 1, "n", "9.0"}, {2, 2, "n", "3.0"}, {4, 2, "n", "7.0"}}},
        {"empty sheet",
         "",
         {{2, 2, 22, ""}, {1, 1, 11, ""}},
         {{1, 1, "n", "11.0"}, {2, 2, "n", "22.0"}}},
        {"self-closed cells",
         "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\"/><c r=\"C1\"><v>3</v></c></row>",
         {{1, 2, 12, ""}},
         {{1, 2, "n", "12.0"}, {1, 3, "n", "3.0"}}},
        {"self-closed sheetData",
         "<sheetData/>",
         {{3, 3, 33, ""}},
         {{3, 3, "n", "33.0"}}},
        {"prefixed elements",
         "<x:row r=\"2\"><x:c r=\"B2\"><x:v>1</x:v></x:c></x:row>",
         {{2, 1, 21, ""}, {2, 2, 22, ""}, {5, 1, 51, ""}},
         {{2, 1, "n", "21.0"}, {2, 2, "n", "22.0"}, {5, 1, "n", "51.0"}}},
        {"empty row elements and spans",
         "<row r=\"1\" spans=\"2:3\"/><row r=\"3\" spans=\"1:1\"><c r=\"A3\" t=\"inlineStr\"><is><t>y</t></is></c></row>",
         {{1, 5, 15, ""}, {3, 4, 34, ""}},
         {{1, 5, "n", "15.0"}, {3, 1, "s", "y"}, {3, 4, "n", "34.0"}}},
    };
    TempFolder folder;
    for (const Case &c : cases) {
        HandWorkbook book;
        std::string xml = worksheetXml(c.sheetData);
        if (c.sheetData == "<sheetData/>") {
            xml = worksheetXml("");
            replaceOnce(xml, "<sheetData></sheetData>", "<sheetData/>");
        }
        if (c.sheetData.starts_with("<x:"))
            xml = "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
                + c.sheetData + "</x:sheetData></x:worksheet>";
        book.sheets.push_back({"S", "worksheets/sheet1.xml", xml});
        book.write(folder / "other.xlsx");
        {
            const auto session = openWorkbook(folder / "other.xlsx");
            for (const Write &w : c.writes)
                session->writeCellInteger(w.row, w.column, w.value);
            session->closeWithSave();
        }
        expectInOrder(partData(readZip(folder / "other.xlsx"), kSheetPart));
        const OpenpyxlDump dump = dumpWithOpenpyxl(folder / "other.xlsx", "values");
        EXPECT_EQ(dump.cells.size(), c.cells.size()) << c.what;
        for (const auto &[row, column, kind, value] : c.cells) {
            const auto found = dump.cells.find({0, row, column});
            ASSERT_NE(found, dump.cells.end()) << c.what << " " << row << "," << column;
            EXPECT_EQ(found->second.kind, kind) << c.what << " " << row << "," << column;
            EXPECT_EQ(found->second.value, value) << c.what << " " << row << "," << column;
        }
    }
}

TEST(XlsxWrite, IntoTheFirstSheetWhateverItsPart)
{
    TempFolder folder;
    HandWorkbook book;
    const std::string cells = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
    book.sheets.push_back({"甲", "worksheets/sheet2.xml", worksheetXml(cells)});
    book.sheets.push_back({"乙", "worksheets/sheet1.xml", worksheetXml(cells)});
    book.write(folder / "order.xlsx");
    {
        const auto session = openWorkbook(folder / "order.xlsx");
        session->writeCellInteger(1, 2, 12);
        session->closeWithSave();
    }
    const OpenpyxlDump dump = dumpWithOpenpyxl(folder / "order.xlsx", "values");
    ASSERT_EQ(dump.cells.size(), 3u);
    EXPECT_EQ(dump.cells.at({0, 1, 2}).value, "12.0");
    EXPECT_EQ(dump.cells.count({1, 1, 2}), 0u);
    EXPECT_EQ(partData(readZip(folder / "order.xlsx"), "xl/worksheets/sheet1.xml"), worksheetXml(cells));
}

TEST(XlsxWrite, RowsOutOfOrderAreNotWritten)
{
    TempFolder folder;
    HandWorkbook book;
    book.sheets.push_back({"S", "worksheets/sheet1.xml",
                           worksheetXml("<row r=\"4\"><c r=\"A4\"><v>4</v></c></row><row r=\"2\"><c r=\"A2\"><v>2</v></c></row>")});
    book.write(folder / "disorder.xlsx");
    const std::string original = readBytes(folder / "disorder.xlsx");
    const auto session = openWorkbook(folder / "disorder.xlsx");
    EXPECT_THROW(session->writeCellInteger(3, 1, 3), QuvelaError);
    session->closeWithSave();
    EXPECT_EQ(readBytes(folder / "disorder.xlsx"), original);
}

// Ways a save can fail after the writes were accepted.
struct SaveFailure
{
    const char *what;
    // Returns false when the failure could not be arranged, which fails the test.
    std::function<bool(const std::filesystem::path &folder)> arrange;
    std::function<void(const std::filesystem::path &folder)> undo;
};

TEST(XlsxWrite, FailedSaveLeavesTheOriginal)
{
    static rlimit savedLimit;
    static std::optional<ReadOnlyFolder> lockedFolder;
    const SaveFailure failures[] = {
        {"file size limit",
         [](const std::filesystem::path &) {
             std::signal(SIGXFSZ, SIG_IGN);
             getrlimit(RLIMIT_FSIZE, &savedLimit);
             rlimit small = savedLimit;
             small.rlim_cur = 1024;
             return setrlimit(RLIMIT_FSIZE, &small) == 0;
         },
         [](const std::filesystem::path &) {
             setrlimit(RLIMIT_FSIZE, &savedLimit);
             std::signal(SIGXFSZ, SIG_DFL);
         }},
        {"folder without write permission",
         [](const std::filesystem::path &folder) {
             lockedFolder.emplace(folder);
             return true;
         },
         [](const std::filesystem::path &) { lockedFolder.reset(); }},
    };
    for (const SaveFailure &failure : failures) {
        TempFolder folder;
        const auto file = folder / "roster.xlsx";
        makeRoster(file);
        const std::string original = readBytes(file);
        const auto session = openWorkbook(file);
        session->writeCellInteger(3, 3, 400);
        if (!failure.arrange(folder.path())) {
            ADD_FAILURE() << "could not arrange: " << failure.what;
            continue;
        }
        bool failed = false;
        try {
            session->closeWithSave();
        } catch (const QuvelaError &e) {
            failed = true;
            EXPECT_NE(gbk::toUtf8(e.message()).find("原文件未被修改"), std::string::npos) << gbk::toUtf8(e.message());
        }
        failure.undo(folder.path());
        session->end();
        EXPECT_TRUE(failed) << failure.what;
        EXPECT_EQ(readBytes(file), original) << failure.what;
        int entries = 0;
        for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder.path()))
            ++entries;
        EXPECT_EQ(entries, 1) << "temporary file left behind: " << failure.what;
    }
}

} // namespace
} // namespace quvela::test
