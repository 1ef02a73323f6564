#include "common/errors.h"
#include "support/read_only_folder.h"
#include "xj/xj_table.h"
#include "xj/temp_folder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

using namespace quvela;
using namespace quvela::xj;
using quvela::test::ReadOnlyFolder;
using quvela::test::TempFolder;

namespace {

XjRecord person(int32_t xh, const char *nameUtf8)
{
    XjRecord r;
    r.xh = xh;
    r.xm = gbk::fromUtf8(nameUtf8);
    r.xb = gbk::fromUtf8("女");
    r.csny = "1970.05";
    r.gwgz1 = 590;
    r.xjdj1 = 4;
    r.xjgz1 = 113;
    r.bf101 = -7;
    r.sftz = 1;
    r.bz = gbk::fromUtf8(" 备注 ");
    return r;
}

// What the file holds, read with SQLite itself: the type of a column in the row with id.
int storedType(const std::filesystem::path &db, int64_t id, const char *column)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(h, (std::string("SELECT typeof(") + column + ") FROM xjgztz WHERE id = ?").c_str(), -1, &s,
                       nullptr);
    sqlite3_bind_int64(s, 1, id);
    std::string type = sqlite3_step(s) == SQLITE_ROW ? reinterpret_cast<const char *>(sqlite3_column_text(s, 0)) : "";
    sqlite3_finalize(s);
    sqlite3_close(h);
    if (type == "null")
        return SQLITE_NULL;
    if (type == "integer")
        return SQLITE_INTEGER;
    if (type == "text")
        return SQLITE_TEXT;
    return -1;
}

void execSql(const std::filesystem::path &db, const char *sql)
{
    sqlite3 *h = nullptr;
    sqlite3_open(db.c_str(), &h);
    ASSERT_EQ(sqlite3_exec(h, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
    sqlite3_close(h);
}

} // namespace

TEST(XjTable, CreatesTheFileAndKeepsRowsInOrderAcrossAReopen)
{
    TempFolder dir;
    const auto db = dir / "xjgz.db";
    XjRecord outside = person(3, "𠀀李"); // a character beyond GBK travels as four bytes
    {
        auto table = XjTable::open(db);
        EXPECT_EQ(table->rowCount(), 0);
        XjTable::Transaction t(*table);
        table->append(person(9, "张三"));
        table->append(person(1, "李四"));
        table->append(outside);
        t.commit();
    }
    auto table = XjTable::open(db);
    const auto rows = table->readAll();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], person(9, "张三"));
    EXPECT_EQ(rows[1], person(1, "李四")); // insertion order, not sequence number
    EXPECT_EQ(rows[2].xm, outside.xm);
    EXPECT_EQ(gbk::toUtf8(rows[2].xm), "𠀀李");
    EXPECT_EQ(rows[0].bz, gbk::fromUtf8(" 备注 ")) << "texts are stored as they are, blanks included";
}

TEST(XjTable, EmptyTextsAreNullAndTextIsUtf8InTheFile)
{
    TempFolder dir;
    const auto db = dir / "xjgz.db";
    {
        auto table = XjTable::open(db);
        table->append(person(1, "王五"));
    }
    EXPECT_EQ(storedType(db, 1, "gzny"), SQLITE_NULL);
    EXPECT_EQ(storedType(db, 1, "whcd"), SQLITE_NULL);
    EXPECT_EQ(storedType(db, 1, "xm"), SQLITE_TEXT);
    EXPECT_EQ(storedType(db, 1, "heji1"), SQLITE_INTEGER);
    sqlite3 *h = nullptr;
    sqlite3_open(db.c_str(), &h);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(h, "SELECT xm FROM xjgztz", -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)), "王五");
    sqlite3_finalize(s);
    sqlite3_close(h);
}

TEST(XjTable, ReadsPagesInTableOrder)
{
    TempFolder dir;
    auto table = XjTable::open(dir / "xjgz.db");
    {
        XjTable::Transaction t(*table);
        for (int i = 1; i <= 25; ++i)
            table->append(person(i, "赵"));
        t.commit();
    }
    struct Case
    {
        int64_t offset, limit;
        std::vector<int32_t> xh;
    };
    const Case cases[] = {
        {0, 3, {1, 2, 3}}, {23, 10, {24, 25}}, {25, 5, {}}, {10, 0, {}}, {-1, 3, {}},
    };
    for (const Case &c : cases) {
        std::vector<int32_t> got;
        for (const XjRecord &r : table->readRange(c.offset, c.limit))
            got.push_back(r.xh);
        EXPECT_EQ(got, c.xh) << "offset " << c.offset << " limit " << c.limit;
    }
    EXPECT_EQ(table->rowCount(), 25);
    table->clear();
    EXPECT_EQ(table->rowCount(), 0);
}

TEST(XjTable, TransactionRollsBackOrKeepsWhatWasDoneOnTheWayOut)
{
    TempFolder dir;
    auto table = XjTable::open(dir / "xjgz.db");
    table->append(person(1, "甲"));
    try {
        XjTable::Transaction t(*table);
        table->clear();
        table->append(person(2, "乙"));
        throw std::runtime_error("stop");
    } catch (const std::runtime_error &) {
    }
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->readAll()[0].xh, 1);
    try {
        XjTable::Transaction t(*table, XjTable::Transaction::OnExit::Commit);
        table->clear();
        table->append(person(2, "乙"));
        throw std::runtime_error("stop");
    } catch (const std::runtime_error &) {
    }
    auto reopened = XjTable::open(dir / "xjgz.db");
    ASSERT_EQ(reopened->rowCount(), 1);
    EXPECT_EQ(reopened->readAll()[0].xh, 2);
}

TEST(XjTable, UpdateAdjustedChangesOnlyTheComputedColumns)
{
    TempFolder dir;
    auto table = XjTable::open(dir / "xjgz.db");
    table->append(person(1, "甲"));
    table->append(person(2, "乙"));
    auto rows = table->readAllRows();
    XjRecord changed = rows[1].record;
    changed.xjdj2 = 5, changed.xjgz2 = 125, changed.bf102 = 12, changed.zzxj = 12, changed.zz10 = 1;
    changed.heji2 = 727, changed.zzhj = 13, changed.bufa = 52;
    XjRecord ignored = changed;
    ignored.xm = "x", ignored.gwgz2 = 1, ignored.zzqt = 9, ignored.qita2 = 3;
    table->updateAdjusted(rows[1].id, ignored);
    const auto after = table->readAll();
    EXPECT_EQ(after[0], rows[0].record);
    EXPECT_EQ(after[1], changed);
}

TEST(XjTable, OpenFailuresSayWhy)
{
    TempFolder dir;
    const auto notDb = dir / "xjgz.db";
    std::ofstream(notDb) << "this is a text file, not a database, and long enough to have a header";
    EXPECT_THROW(XjTable::open(notDb), QuvelaError);

    const auto otherShape = dir / "other.db";
    execSql(otherShape, "CREATE TABLE xjgztz (id INTEGER PRIMARY KEY, xh INTEGER)");
    try {
        XjTable::open(otherShape);
        ADD_FAILURE() << "a table of another shape was accepted";
    } catch (const QuvelaError &e) {
        EXPECT_NE(gbk::toUtf8(e.message()).find("xjgztz"), std::string::npos) << gbk::toUtf8(e.message());
    }

    {
        const auto locked = dir / "ro";
        std::filesystem::create_directories(locked);
        const ReadOnlyFolder readOnly(locked);
        EXPECT_THROW(XjTable::open(locked / "xjgz.db"), QuvelaError);
    }
    EXPECT_THROW(XjTable::open(dir / "missing-folder" / "xjgz.db"), QuvelaError);
}

TEST(XjTable, ValuesOtherProgramsLeftOutOfRangeAreReportedNotTruncated)
{
    TempFolder dir;
    const auto db = dir / "xjgz.db";
    XjTable::open(db)->append(person(1, "甲"));
    execSql(db, "UPDATE xjgztz SET gwgz1 = 4294967296");
    auto table = XjTable::open(db);
    EXPECT_THROW(table->readAll(), QuvelaError);
    execSql(db, "UPDATE xjgztz SET gwgz1 = NULL");
    EXPECT_EQ(table->readAll().at(0).gwgz1, 0);
}

TEST(XjTable, RowsWithoutTextsKeepEveryNumberAndTheNameIsReadByItself)
{
    TempFolder dir;
    auto table = XjTable::open(dir / "xjgz.db");
    table->append(person(1, " 甲 "));
    table->append(person(2, "乙"));
    const auto full = table->readAllRows();
    const auto light = table->readAllRowsWithoutTexts();
    ASSERT_EQ(light.size(), full.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
        XjRecord numbersOnly = full[i].record;
        numbersOnly.xm = numbersOnly.xb = numbersOnly.csny = numbersOnly.bz = GbkString();
        EXPECT_EQ(light[i].id, full[i].id);
        EXPECT_EQ(light[i].record, numbersOnly);
        EXPECT_EQ(table->nameOf(full[i].id), full[i].record.xm);
    }
    EXPECT_EQ(table->nameOf(full.back().id + 1), "");
}
