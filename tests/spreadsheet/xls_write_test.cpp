// Writing integers into an .xls (BIFF8) roster in place. The saved files are checked with
// xlrd, an independent reader (values, formats, merged ranges, widths and heights, and
// the row-block index against the records), and record by record against the original:
// what the edit does not have to change is byte for byte as it was.

#include "common/errors.h"
#include "session_reading.h"
#include "spreadsheet/compound_file.h"
#include "spreadsheet/xls_workbook.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"
#include "libreoffice_values.h"
#include "spreadsheet/cell_reference.h"
#include "xlrd_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace quvela::test {
namespace {

const std::filesystem::path kFixtures = std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/xls_fixtures";

std::string fileBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

uint16_t u16(std::string_view data, std::size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
}

struct Record
{
    uint16_t type;
    std::string data;
    std::size_t offset;
};

std::vector<Record> records(std::string_view stream, std::size_t from)
{
    std::vector<Record> out;
    for (std::size_t at = from; at + 4 <= stream.size();) {
        const std::size_t length = u16(stream, at + 2);
        out.push_back({u16(stream, at), std::string(stream.substr(at + 4, length)), at});
        at += 4 + length;
    }
    return out;
}

constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kFormula = 0x0006;
const std::set<uint16_t> kCellTypes{0x0201, 0x00BE, 0x0203, 0x027E, 0x00BD, 0x0204, 0x00FD, 0x00D6, 0x0205, kFormula};
// Records that follow a formula's cell, and the row-block index.
const std::set<uint16_t> kTableTypes{kRow, 0x00D7, 0x0207, 0x04BC, 0x0221, 0x0236, 0x003C};

// The substreams of a workbook stream: globals, then each sheet in stream order, with
// the records of their own level (embedded charts stay in their sheet, as records).
std::vector<std::vector<Record>> substreams(std::string_view stream)
{
    std::vector<std::vector<Record>> out;
    int depth = 0;
    for (Record &record : records(stream, 0)) {
        if (record.type == 0x0809 && depth++ == 0)
            out.emplace_back();
        if (depth > 0)
            out.back().push_back(std::move(record));
        if (record.type == 0x000A && depth > 0)
            --depth;
    }
    return out;
}

// A cell record covers columns first..last of its row.
bool covers(const Record &record, const std::set<std::pair<int, int>> &written)
{
    const int row = u16(record.data, 0);
    const int first = u16(record.data, 2);
    int last = first;
    if (record.type == 0x00BD || record.type == 0x00BE)
        last = u16(record.data, record.data.size() - 2);
    for (int column = first; column <= last; ++column) {
        if (written.count({row, column}))
            return true;
    }
    return false;
}

// A formula record but its recalculation flag.
std::string withoutRecalcFlag(const Record &record)
{
    std::string data = record.data;
    if (record.type == kFormula && data.size() >= 16)
        data[14] = static_cast<char>(data[14] & ~0x01);
    return data;
}

// A formula record but its stored result and its recalculation flag, which the write
// changes for the formulas that read a written cell.
std::string withoutResult(const Record &record)
{
    std::string data = record.data;
    if (record.type == kFormula && data.size() >= 16) {
        std::fill(data.begin() + 6, data.begin() + 14, '\0');
        data[14] = static_cast<char>(data[14] & ~0x01);
    }
    return data;
}

// Checks that every record the edit had no reason to change is as it was: the other
// streams whole, the globals but for the sheet positions, the other sheets but for
// their index, and in the written sheet every record but the cell table, its index and
// extent, with every cell record not holding a written cell and the ROW record of every
// row not written kept as it was (a formula may gain a new result and the flag that
// asks for its recalculation).
void expectUntouchedAsBefore(const std::string &before, const std::string &after,
                             const std::set<std::pair<int, int>> &written, std::size_t writtenSheet,
                             const std::set<std::pair<int, int>> &expanded)
{
    const spreadsheet::CompoundFile oldFile(before);
    const spreadsheet::CompoundFile newFile(after);
    auto sorted = [](std::vector<std::u16string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(sorted(oldFile.streamNames()), sorted(newFile.streamNames()));
    for (const std::u16string &name : oldFile.streamNames()) {
        const std::string ascii(name.begin(), name.end()); // the names of these files are ASCII
        if (ascii == "Workbook")
            continue;
        EXPECT_EQ(oldFile.readStream(ascii), newFile.readStream(ascii)) << "stream " << ascii;
    }
    const auto oldParts = substreams(oldFile.readStream("Workbook").value());
    const auto newParts = substreams(newFile.readStream("Workbook").value());
    ASSERT_EQ(oldParts.size(), newParts.size());
    std::set<std::pair<int, int>> rows0; // written cells, 0-based
    std::set<int> writtenRows;
    for (const auto &[row, column] : written) {
        rows0.insert({row - 1, column - 1});
        writtenRows.insert(row - 1);
    }
    for (std::size_t part = 0; part < oldParts.size(); ++part) {
        const auto &a = oldParts[part];
        const auto &b = newParts[part];
        if (part != writtenSheet) {
            ASSERT_EQ(a.size(), b.size()) << "substream " << part;
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(a[i].type, b[i].type) << "substream " << part << " record " << i;
                if (a[i].type == 0x0085) // BOUNDSHEET: the position may move, the rest not
                    EXPECT_EQ(a[i].data.substr(4), b[i].data.substr(4));
                else if (a[i].type == 0x020B) // INDEX: positions move, rows not
                    EXPECT_EQ(a[i].data.substr(0, 12), b[i].data.substr(0, 12));
                else // a formula that may read the written sheet asks to be recalculated
                    EXPECT_EQ(withoutRecalcFlag(a[i]), withoutRecalcFlag(b[i]))
                        << "substream " << part << " record " << i << " type " << a[i].type;
            }
            continue;
        }
        auto outsideTable = [](const std::vector<Record> &list) {
            std::vector<std::pair<uint16_t, std::string>> kept;
            for (const Record &r : list) {
                if (!kCellTypes.count(r.type) && !kTableTypes.count(r.type) && r.type != 0x020B && r.type != 0x0200)
                    kept.emplace_back(r.type, r.data);
            }
            return kept;
        };
        EXPECT_EQ(outsideTable(a), outsideTable(b)) << "records outside the cells of the written sheet";
        std::multiset<std::pair<uint16_t, std::string>> now;
        for (const Record &r : b) {
            if (kCellTypes.count(r.type) || r.type == kRow)
                now.insert({r.type, withoutResult(r)});
        }
        for (const Record &r : a) {
            const bool expandedHere = r.type == kFormula && expanded.count({u16(r.data, 0) + 1, u16(r.data, 2) + 1});
            const bool keep = (kCellTypes.count(r.type) && !covers(r, rows0) && !expandedHere)
                || (r.type == kRow && !writtenRows.count(u16(r.data, 0)));
            if (keep) {
                EXPECT_TRUE(now.count({r.type, withoutResult(r)}))
                    << "record of type " << r.type << " at " << r.offset << " (row " << u16(r.data, 0) + 1 << ")";
            }
        }
    }
}

// cell lines of the xlrd dump: (sheet, row, column) -> "type\tvalue\txf"
std::map<std::tuple<int, int, int>, std::string> cellLines(const std::vector<std::string> &dump,
                                                            std::vector<std::string> &other)
{
    std::map<std::tuple<int, int, int>, std::string> cells;
    for (const std::string &line : dump) {
        if (!line.starts_with("cell\t")) {
            other.push_back(line);
            continue;
        }
        std::istringstream in(line.substr(5));
        int sheet, row, column;
        char tab;
        in >> sheet >> row >> column;
        in.get(tab);
        std::string rest;
        std::getline(in, rest);
        cells[{sheet, row, column}] = rest;
    }
    return cells;
}

std::string field(const std::string &rest, int n)
{
    std::istringstream in(rest);
    std::string part;
    for (int i = 0; i <= n; ++i)
        std::getline(in, part, '\t');
    return part;
}

struct Write
{
    int row;
    int column;
    int32_t value;
};

struct WriteCase
{
    const char *name;
    const char *fixture;
    std::size_t writtenSheet; // its substream: 1 when it is the first sheet in the stream
    std::vector<Write> writes;
    // The formula cells that read a written cell and whose value the engine computes
    // anew (checked against LibreOffice's own recalculation below).
    std::set<std::pair<int, int>> recomputed;
    // The other cells of a shared formula whose first cell is written: they take its
    // tokens as their own and keep their values.
    std::set<std::pair<int, int>> expanded = {};
};

class XlsWrite : public ::testing::TestWithParam<WriteCase>
{
protected:
    TempFolder dir;
};

TEST_P(XlsWrite, NumbersLandAndEverythingElseStaysAsItWas)
{
    const WriteCase &param = GetParam();
    const std::filesystem::path book = dir / "roster.xls";
    std::filesystem::copy_file(kFixtures / param.fixture, book);
    const std::string before = fileBytes(book);
    std::vector<std::string> otherBefore;
    const auto cellsBefore = cellLines(dumpWithXlrd(book, "cells"), otherBefore);

    {
        auto session = openWorkbook(book);
        for (const Write &w : param.writes) {
            session->writeCellInteger(w.row, w.column, w.value);
            EXPECT_EQ(session->readCellInteger(w.row, w.column), w.value);
        }
        session->closeWithSave();
    }

    EXPECT_EQ(dumpWithXlrd(book, "structure"), std::vector<std::string>{"ok"});
    std::vector<std::string> otherAfter;
    auto cellsAfter = cellLines(dumpWithXlrd(book, "cells"), otherAfter);
    std::set<std::pair<int, int>> written;
    std::set<int> newRows;
    for (const Write &w : param.writes) {
        written.insert({w.row, w.column});
        const auto key = std::make_tuple(0, w.row, w.column);
        ASSERT_TRUE(cellsAfter.count(key)) << w.row << "," << w.column;
        const std::string &now = cellsAfter[key];
        EXPECT_EQ(field(now, 0), "2") << w.row << "," << w.column; // a number
        EXPECT_EQ(std::stod(field(now, 1)), w.value) << w.row << "," << w.column;
        const auto old = cellsBefore.find(key);
        if (old != cellsBefore.end()) {
            EXPECT_EQ(field(now, 2), field(old->second, 2)) << "format of " << w.row << "," << w.column;
        }
        bool rowExisted = false;
        for (const auto &[k, v] : cellsBefore)
            rowExisted = rowExisted || (std::get<0>(k) == 0 && std::get<1>(k) == w.row);
        if (!rowExisted)
            newRows.insert(w.row);
        cellsAfter.erase(key);
    }
    auto expectedCells = cellsBefore;
    for (const Write &w : param.writes)
        expectedCells.erase({0, w.row, w.column});
    std::set<std::pair<int, int>> recomputed;
    for (const auto &[key, line] : cellsAfter) {
        const auto old = expectedCells.find(key);
        if (old != expectedCells.end() && old->second != line && std::get<0>(key) == 0) {
            recomputed.insert({std::get<1>(key), std::get<2>(key)});
            EXPECT_EQ(field(line, 2), field(old->second, 2)) << "format of formula " << std::get<1>(key);
            expectedCells[key] = line;
        }
    }
    EXPECT_EQ(recomputed, param.recomputed);
    EXPECT_EQ(cellsAfter, expectedCells);
    // The sheet line of the written sheet (its extent) and the heights of new rows may
    // change; nothing else may.
    auto comparable = [&](const std::vector<std::string> &lines) {
        std::vector<std::string> kept;
        for (const std::string &line : lines) {
            if (line.starts_with("sheet\t0\t"))
                continue;
            if (line.starts_with("rowinfo\t0\t") && newRows.count(std::stoi(field(line, 2)) + 1))
                continue;
            kept.push_back(line);
        }
        return kept;
    };
    EXPECT_EQ(comparable(otherAfter), comparable(otherBefore));
    expectUntouchedAsBefore(before, fileBytes(book), written, param.writtenSheet, param.expanded);

    // And our own reader finds the numbers in the saved file.
    auto again = openWorkbook(book);
    for (const Write &w : param.writes)
        EXPECT_EQ(again->readCellInteger(w.row, w.column), w.value);
}

const WriteCase kCases[] = {
        WriteCase{"xlwt_every_cell_form", "xlwt_write.xls", 1,
                  {{2, 1, 777},         // RK
                   {3, 2, -5},          // shared text
                   {4, 4, 123456789},   // formatted NUMBER, too large for RK
                   {5, 5, 1},           // first blank of a MULBLANK
                   {6, 6, 2},           // last blank of a MULBLANK
                   {7, 7, 3},           // formula
                   {8, 10, 4},          // after the row's last cell
                   {1, 9, 9},           // header row
                   {32, 3, 5}, {33, 3, 6}, {34, 3, 7}, // both sides of a row-block boundary
                   {60, 2, 8},          // after the last row
                   {45, 1, -2147483647 - 1}},
                  // G = C + D in each row, and the sums of D and G under them
                  {{4, 7}, {32, 7}, {33, 7}, {34, 7}, {42, 4}, {42, 7}}},
        WriteCase{"handmade_index_blocks", "handmade_index.xls", 1,
                  {{4, 2, 100},  // NUMBER
                   {4, 3, 5},    // formatted blank
                   {33, 3, 3},   // a new cell in the second block
                   {46, 1, 1},   // a new row joining the second block
                   {80, 2, 2},   // a new block
                   {200, 1, 7}}},
        WriteCase{"handmade_mulrk_chart_and_later_sheet", "handmade_records.xls", 2,
                  {{4, 2, 11},   // inside a MULRK
                   {4, 1, 12},   // its first cell
                   {4, 4, 13},   // its last cell
                   {4, 6, 14},   // inside a MULBLANK
                   {5, 3, 15},   // a formula with a boolean result
                   {8, 2, 16},   // a NUMBER
                   {2, 1, 17}}}, // a LABEL
        WriteCase{"libreoffice_xj_roster", "lo_xj_roster.xls", 1,
                  {{7, 20, 16}, {7, 21, 750}, {7, 22, 75}, {7, 25, 40}, {7, 26, 4},
                   {8, 20, 12}, {8, 21, 600}, {8, 25, 35}, {30, 20, 5}, {30, 26, -50}},
                  // Q = S + U + V + W and X = Y + Z + AA in each row, and their sums in row 31
                  {{7, 17}, {7, 24}, {8, 17}, {8, 24}, {30, 24}, {31, 17}, {31, 24}}},
        WriteCase{"libreoffice_formulas", "lo_formulas.xls", 1,
                  {{7, 2, 1}, {7, 4, 2}, {7, 7, 3}, {3, 4, 9}, {2, 2, 1300}, {5, 3, 0}},
                  {{2, 4}}}, // D2 = B2 + C2
        WriteCase{"libreoffice_zw_roster", "lo_zw_roster.xls", 1, {{7, 10, 11}, {7, 12, 300}, {8, 13, 20}, {21, 14, 5}},
                  {{8, 9}, {21, 9}}}, // I = K + M + N + O in each row
        WriteCase{"libreoffice_jb_normal_roster", "lo_jb_normal_roster.xls", 1, {{7, 10, 11}, {7, 12, 300}, {8, 13, 20}}},
        WriteCase{"libreoffice_jb_rolling_roster", "lo_jb_rolling_roster.xls", 1, {{7, 10, 11}, {7, 12, 300}, {8, 13, 20}}},
        WriteCase{"libreoffice_jg_roster", "lo_jg_roster.xls", 1, {{7, 10, 11}, {7, 12, 300}, {8, 13, 20}}},
        WriteCase{"xlwt_empty_first_sheet", "xlwt_empty_first.xls", 1, {{3, 2, 7}, {1, 1, 1}, {40, 5, 2}}},
        WriteCase{"libreoffice_shared_formula_first_cells", "lo_formulas.xls", 1,
                  {{2, 4, 100}, {2, 5, 7}},
                  {},
                  // D2:D4 = B + C and E2:E4 = A & "的工资", each stored once in row 2
                  {{3, 4}, {4, 4}, {3, 5}, {4, 5}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, XlsWrite, ::testing::ValuesIn(kCases),
                         [](const auto &test) { return std::string(test.param.name); });

// LibreOffice opens the saved rosters, recomputing every formula itself, and finds the
// numbers written and the results stored for the formulas that read them.
TEST(XlsWriteLibreOffice, OpensTheSavedRosterAndFindsTheStoredValues)
{
    for (const WriteCase &param : kCases) {
        if (std::string(param.fixture) == "handmade_records.xls")
            continue; // its first sheet is a chart, which is what LibreOffice's text export shows
        TempFolder dir;
        const std::filesystem::path book = dir / "roster.xls";
        std::filesystem::copy_file(kFixtures / param.fixture, book);
        {
            auto session = openWorkbook(book);
            for (const Write &w : param.writes)
                session->writeCellInteger(w.row, w.column, w.value);
            session->closeWithSave();
        }
        const auto values = valuesByLibreOffice(book);
        if (!values)
            GTEST_SKIP() << "LibreOffice (soffice) is not installed: the saved rosters are not opened with it";
        std::set<std::pair<int, int>> mustAgree = param.recomputed;
        for (const Write &w : param.writes)
            mustAgree.insert({w.row, w.column});
        for (const auto &cell : param.expanded) {
            if (cell.second == 4) // the numeric ones
                mustAgree.insert(cell);
        }
        // Only these: the other cells of the LibreOffice exports store what LibreOffice
        // had not computed when it wrote them (the totals of row 31 of the roster store 0).
        auto ours = openWorkbook(book);
        for (const auto &[row, column] : mustAgree) {
            const std::size_t r = static_cast<std::size_t>(row - 1);
            const std::size_t c = static_cast<std::size_t>(column - 1);
            ASSERT_LT(r, values->size()) << param.name;
            std::string shown = c < (*values)[r].size() ? (*values)[r][c] : "";
            shown.erase(std::remove(shown.begin(), shown.end(), ','), shown.end());
            char *end = nullptr;
            const double theirs = std::strtod(shown.c_str(), &end);
            ASSERT_TRUE(!shown.empty() && end == shown.c_str() + shown.size())
                << param.name << " " << spreadsheet::cellReference(row, column) << ": LibreOffice shows " << shown;
            // LibreOffice shows the cell's format: half its last place is the tolerance.
            const std::size_t point = shown.find('.');
            const int places = point == std::string::npos ? 0 : static_cast<int>(shown.size() - point - 1);
            EXPECT_NEAR(std::stod(gbk::toUtf8(ours->readCellText(row, column))), theirs,
                        0.5 * std::pow(10.0, -places) + 1e-9)
                << param.name << " " << spreadsheet::cellReference(row, column);
        }
    }
}

} // namespace
} // namespace quvela::test

namespace quvela::test {
namespace {

struct Refusal
{
    const char *fixture;
    int row;
    int column;
    const char *reason;
};

TEST(XlsWriteRefusal, CellsThatMustNotBeWrittenLeaveTheFileAsItWas)
{
    const Refusal refusals[] = {
        {"xlwt_write.xls", 44, 2, "B44 位于合并单元格 A44:D44 之内"},
        {"xlwt_write.xls", 44, 4, "D44 位于合并单元格 A44:D44 之内"},
        {"handmade_index.xls", 45, 3, "C45 位于数组公式 C45 之内"},
        {"xlwt_write.xls", 65537, 1, "超出了 .xls 工作表的范围"},
        {"xlwt_write.xls", 1, 257, "超出了 .xls 工作表的范围"},
    };
    for (const Refusal &r : refusals) {
        TempFolder dir;
        const std::filesystem::path book = dir / "roster.xls";
        std::filesystem::copy_file(kFixtures / r.fixture, book);
        const std::string before = fileBytes(book);
        auto session = openWorkbook(book);
        session->writeCellInteger(3, 1, 5); // a cell that may be written, before the refused one
        try {
            session->writeCellInteger(r.row, r.column, 1);
            ADD_FAILURE() << r.fixture << " " << r.row << "," << r.column << " written";
        } catch (const QuvelaError &e) {
            EXPECT_NE(gbk::toUtf8(e.message()).find(r.reason), std::string::npos) << gbk::toUtf8(e.message());
        }
        // The caller gives up on the first refusal, as the write-back does.
        session->end();
        EXPECT_EQ(fileBytes(book), before) << r.fixture;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a file was left";
    }
}

TEST(XlsWriteRefusal, PasswordProtectedAndExcel95WorkbooksAreNotOpened)
{
    const std::pair<std::filesystem::path, const char *> files[] = {
        {kFixtures / "encrypted.xls", "设有打开密码"},
        {kFixtures / "../hostile/fail_biff_bof_biff5.xls", "Excel 5.0/95 格式"},
    };
    for (const auto &[file, reason] : files) {
        try {
            openWorkbook(file);
            ADD_FAILURE() << file << " opened";
        } catch (const spreadsheet::WorkbookOpenError &e) {
            EXPECT_NE(gbk::toUtf8(e.message()).find(reason), std::string::npos) << gbk::toUtf8(e.message());
        }
    }
}

TEST(XlsWriteSave, TheSavedRosterKeepsItsPermissionsAndLeavesNoTemporaryFile)
{
    TempFolder dir;
    const std::filesystem::path book = dir / "roster.xls";
    std::filesystem::copy_file(kFixtures / "xlwt_write.xls", book);
    const auto permissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
        | std::filesystem::perms::group_read;
    std::filesystem::permissions(book, permissions);
    auto session = openWorkbook(book);
    session->writeCellInteger(2, 3, 64);
    session->closeWithSave();
    EXPECT_EQ(std::filesystem::status(book).permissions(), permissions);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(openWorkbook(book)->readCellInteger(2, 3), 64);
}

TEST(XlsWriteSave, ASaveThatCannotWriteLeavesTheRosterAsItWas)
{
    TempFolder dir;
    std::filesystem::create_directories(dir / "locked");
    const std::filesystem::path book = dir / "locked" / "roster.xls";
    std::filesystem::copy_file(kFixtures / "xlwt_write.xls", book);
    const std::string before = fileBytes(book);
    auto session = openWorkbook(book);
    session->writeCellInteger(2, 3, 64);
    {
        const ReadOnlyFolder locked(dir / "locked");
        try {
            session->closeWithSave();
            ADD_FAILURE() << "saved into a read-only folder";
        } catch (const QuvelaError &e) {
            EXPECT_NE(gbk::toUtf8(e.message()).find("原文件未被修改"), std::string::npos) << gbk::toUtf8(e.message());
        }
    }
    EXPECT_EQ(fileBytes(book), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "locked"), {}), 1);
}

TEST(XlsWriteSave, ADateCellOfA1904WorkbookStoresTheNumberAsWritten)
{
    TempFolder dir;
    const std::filesystem::path book = dir / "roster.xls";
    std::filesystem::copy_file(kFixtures / "xlwt_1904.xls", book);
    auto session = openWorkbook(book);
    session->writeCellInteger(1, 1, 5); // formatted yyyy-mm-dd
    session->closeWithSave();
    std::vector<std::string> other;
    const auto cells = cellLines(dumpWithXlrd(book, "cells"), other);
    // xlrd gives the stored serial: day 5 of the 1904 system, 1904-01-06.
    EXPECT_EQ(field(cells.at({0, 1, 1}), 1), "5.0");
    EXPECT_EQ(gbk::toUtf8(openWorkbook(book)->readCellText(1, 1)), "1904-1-6");
}

// The container around the workbook stream as xlrd and a directory walk find it: the
// storages (macros here) with their class ids and times, and every other stream, whole.
TEST(XlsWriteContainer, EveryStorageAndStreamButTheWorkbookIsCarriedOver)
{
    for (const char *name : {"lo_xj_roster_macros.xls", "lo_formulas.xls", "cfb_mini_stream.xls"}) {
        TempFolder dir;
        const std::filesystem::path book = dir / "roster.xls";
        std::filesystem::copy_file(kFixtures / name, book);
        auto withoutWorkbook = [](std::vector<std::string> lines) {
            std::erase_if(lines, [](const std::string &line) {
                return line.starts_with("stream\t'Workbook'") || line.starts_with("stream\t'workbook'");
            });
            return lines;
        };
        const auto before = dumpWithXlrd(book, "container");
        ASSERT_GT(before.size(), 1u) << name;
        {
            auto session = openWorkbook(book);
            session->writeCellInteger(7, 20, 16);
            session->closeWithSave();
        }
        const auto after = dumpWithXlrd(book, "container");
        EXPECT_EQ(withoutWorkbook(after), withoutWorkbook(before)) << name;
        EXPECT_NE(after, before) << name << ": the workbook stream did not change";
        EXPECT_EQ(openWorkbook(book)->readCellInteger(7, 20), 16) << name;
    }
}

// Containers of 4096-byte sectors (xlrd cannot read them: checked with our reader) and
// with more sector-table sectors than the header holds keep their sector size.
TEST(XlsWriteContainer, SectorSizeIsKept)
{
    for (const char *name : {"cfb_4096_sectors.xls", "cfb_difat.xls"}) {
        TempFolder dir;
        const std::filesystem::path book = dir / "roster.xls";
        std::filesystem::copy_file(kFixtures / name, book);
        const std::string before = fileBytes(book);
        {
            auto session = openWorkbook(book);
            session->writeCellInteger(3, 2, 4321);
            session->closeWithSave();
        }
        const std::string after = fileBytes(book);
        EXPECT_EQ(u16(after, 0x1E), u16(before, 0x1E)) << name; // the sector shift
        EXPECT_EQ(openWorkbook(book)->readCellInteger(3, 2), 4321) << name;
    }
}

// Inputs the fuzz target found to break the writer: each is written and saved, or
// refused with a message, and the saved file holds the number.
TEST(XlsWriteHostile, DamagedRostersAreWrittenOrRefused)
{
    const Write cases[] = {
        {14, 26, 9}, // a roster whose formula in row 14, reading Z14, names column 64,793
        {1, 1, 5},   // a sheet holding A1 twice
    };
    const char *names[] = {"fuzz_formula_column_past_sheet.xls", "fuzz_cell_twice.xls"};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TempFolder dir;
        const std::filesystem::path book = dir / "roster.xls";
        std::filesystem::copy_file(kFixtures / names[i], book);
        try {
            auto session = openWorkbook(book);
            session->writeCellInteger(cases[i].row, cases[i].column, cases[i].value);
            session->closeWithSave();
            EXPECT_EQ(openWorkbook(book)->readCellInteger(cases[i].row, cases[i].column), cases[i].value) << names[i];
        } catch (const QuvelaError &e) {
            ADD_FAILURE() << names[i] << ": " << gbk::toUtf8(e.message());
        }
    }
}

// The odd but sound workbooks of the reader's corpus are written as well as read.
TEST(XlsWriteHostile, OddButSoundWorkbooksAreWritten)
{
    const std::filesystem::path corpus = kFixtures / "../hostile";
    std::size_t written = 0;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("opens_") || entry.path().extension() != ".xls")
            continue;
        TempFolder dir;
        const std::filesystem::path book = dir / "roster.xls";
        std::filesystem::copy_file(entry.path(), book);
        try {
            auto session = openWorkbook(book);
            session->writeCellInteger(2, 2, 77);
            session->closeWithSave();
            auto again = openWorkbook(book);
            EXPECT_EQ(again->readCellInteger(2, 2), 77) << name;
            EXPECT_EQ(gbk::toUtf8(again->readCellText(1, 1)), "ok") << name;
            ++written;
        } catch (const QuvelaError &e) {
            ADD_FAILURE() << name << ": " << gbk::toUtf8(e.message());
        }
    }
    EXPECT_GE(written, 1u);
}

// The formulas of the saved sheet, by cell: whether each asks to be recalculated.
std::map<std::pair<int, int>, bool> recalculationFlags(const std::filesystem::path &file, std::size_t substream = 1)
{
    const std::string bytes = fileBytes(file);
    const spreadsheet::CompoundFile container(bytes);
    const auto parts = substreams(container.readStream("Workbook").value());
    std::map<std::pair<int, int>, bool> flags;
    for (const Record &r : parts.at(substream)) {
        if (r.type == kFormula)
            flags[{u16(r.data, 0) + 1, u16(r.data, 2) + 1}] = u16(r.data, 14) & 0x0001;
    }
    return flags;
}

TEST(XlsWriteFormulas, FormulasReadingAWrittenCellAskToBeRecalculatedAndOnlyThey)
{
    TempFolder dir;
    const std::filesystem::path book = dir / "roster.xls";
    std::filesystem::copy_file(kFixtures / "xlwt_write.xls", book);
    for (const auto &[cell, flag] : recalculationFlags(book))
        ASSERT_FALSE(flag) << cell.first << "," << cell.second;
    auto session = openWorkbook(book);
    session->writeCellInteger(5, 3, 1000); // C5, read by G5 = C5 + D5, and so by G42 = SUM(G2:G41)
    session->closeWithSave();
    std::set<std::pair<int, int>> flagged;
    for (const auto &[cell, flag] : recalculationFlags(book)) {
        if (flag)
            flagged.insert(cell);
    }
    EXPECT_EQ(flagged, (std::set<std::pair<int, int>>{{5, 7}, {42, 7}}));
    // On the second sheet, B41 = '花名册'!C5 * 2 reads it; B42 = SUM(B3:B40) does not.
    const auto second = recalculationFlags(book, 2);
    EXPECT_TRUE(second.at({41, 2}));
    EXPECT_FALSE(second.at({42, 2}));
    auto again = openWorkbook(book);
    EXPECT_EQ(again->readCellText(5, 7), gbk::fromUtf8("2004.1"));
}

} // namespace
} // namespace quvela::test
