#include "xj/xj_table.h"

#include "common/errors.h"
#include "xj/xj_columns.h"

#include <sqlite3.h>

#include <limits>
#include <string>

namespace quvela::xj {
namespace {

std::string columnList()
{
    std::string list;
    for (const XjColumn &c : kXjColumns) {
        if (!list.empty())
            list += ", ";
        list += c.name;
    }
    return list;
}

std::string createSql()
{
    std::string sql = "CREATE TABLE IF NOT EXISTS xjgztz (id INTEGER PRIMARY KEY";
    for (const XjColumn &c : kXjColumns) {
        sql += ", ";
        sql += c.name;
        sql += c.integer ? " INTEGER" : " TEXT";
    }
    return sql + ")";
}

// The reason of a failed call in the clerk's words; SQLite's own text follows it.
std::string reasonUtf8(int code)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "文件正被其他程序使用（已锁定），请关闭其他程序后重试";
    case SQLITE_NOTADB:
        return "该文件不是数据库文件";
    case SQLITE_CORRUPT:
        return "数据库文件已损坏";
    case SQLITE_CANTOPEN:
        return "无法创建或打开该文件，请检查文件夹是否存在、是否允许写入";
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return "该文件或文件夹只读，不能写入";
    case SQLITE_FULL:
        return "磁盘已满";
    case SQLITE_IOERR:
        return "读写文件出错";
    default:
        return "数据库操作失败";
    }
}

std::string pathUtf8(const std::filesystem::path &path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

} // namespace

std::unique_ptr<XjTable> XjTable::open(const std::filesystem::path &dbFile)
{
    std::unique_ptr<XjTable> table(new XjTable);
    table->m_file = dbFile;
    const int rc = sqlite3_open_v2(pathUtf8(dbFile).c_str(), &table->m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const int code = table->m_db ? sqlite3_extended_errcode(table->m_db) : rc;
        const char *detail = table->m_db ? sqlite3_errmsg(table->m_db) : sqlite3_errstr(rc);
        throw QuvelaError(gbk::fromUtf8("无法打开数据库文件 " + pathUtf8(dbFile) + "：" + reasonUtf8(code)
                                        + "（" + detail + "）"));
    }
    // SQLite opens a write-protected file read-only without a word; every later change
    // would then fail, so say it now.
    if (sqlite3_db_readonly(table->m_db, "main") == 1)
        throw QuvelaError(gbk::fromUtf8("无法打开数据库文件 " + pathUtf8(dbFile) + "："
                                        + reasonUtf8(SQLITE_READONLY)));
    // Another program (a second window, the batch command) may hold the file for a
    // moment; wait for it rather than failing at once.
    sqlite3_busy_timeout(table->m_db, 3000);
    // The default rollback journal: a clerk's program folder may lie on a network drive,
    // where write-ahead logging does not work.
    table->execute(createSql().c_str(), "无法打开数据库文件 ");
    table->prepareStatements();
    return table;
}

XjTable::~XjTable()
{
    for (sqlite3_stmt *s : {m_count, m_select, m_insert, m_update, m_delete, m_name})
        sqlite3_finalize(s);
    sqlite3_close_v2(m_db);
}

void XjTable::fail(const char *what) const
{
    const int code = sqlite3_extended_errcode(m_db);
    throw QuvelaError(gbk::fromUtf8(std::string(what) + pathUtf8(m_file) + "：" + reasonUtf8(code) + "（"
                                    + sqlite3_errmsg(m_db) + "）"));
}

void XjTable::execute(const char *sql, const char *what)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(what);
}

sqlite3_stmt *XjTable::prepare(const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        fail("数据库文件中的表xjgztz与本程序不符，");
    return stmt;
}

void XjTable::prepareStatements()
{
    const std::string columns = columnList();
    std::string placeholders;
    for (std::size_t i = 1; i <= kXjColumns.size(); ++i)
        placeholders += (i > 1 ? ", ?" : "?") + std::to_string(i);
    m_count = prepare("SELECT count(*) FROM xjgztz");
    m_select = prepare(("SELECT id, " + columns + " FROM xjgztz ORDER BY id LIMIT ?1 OFFSET ?2").c_str());
    m_insert = prepare(("INSERT INTO xjgztz (" + columns + ") VALUES (" + placeholders + ")").c_str());
    m_update = prepare("UPDATE xjgztz SET xjdj2 = ?1, xjgz2 = ?2, bf102 = ?3, zzxj = ?4, zz10 = ?5, "
                       "heji2 = ?6, zzhj = ?7, bufa = ?8 WHERE id = ?9");
    m_delete = prepare("DELETE FROM xjgztz");
    m_name = prepare("SELECT xm FROM xjgztz WHERE id = ?1");
}

int64_t XjTable::rowCount() const
{
    sqlite3_reset(m_count);
    if (sqlite3_step(m_count) != SQLITE_ROW)
        fail("无法读取数据库文件 ");
    const int64_t n = sqlite3_column_int64(m_count, 0);
    sqlite3_reset(m_count);
    return n;
}

void XjTable::readRows(sqlite3_stmt *stmt, const std::function<void(int64_t, XjRecord &&)> &sink,
                       bool texts) const
{
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        XjRecord record;
        for (std::size_t i = 0; i < kXjColumns.size(); ++i) {
            const int col = static_cast<int>(i) + 1;
            const XjColumn &c = kXjColumns[i];
            const int type = sqlite3_column_type(stmt, col);
            if (c.integer) {
                // The file may have been edited by another program: take only what fits
                // a 32-bit whole number and say where it does not.
                if (type == SQLITE_NULL)
                    continue;
                const int64_t v = sqlite3_column_int64(stmt, col);
                if (type != SQLITE_INTEGER || v < std::numeric_limits<int32_t>::min()
                    || v > std::numeric_limits<int32_t>::max()) {
                    const int64_t id = sqlite3_column_int64(stmt, 0);
                    sqlite3_reset(stmt);
                    throw QuvelaError(gbk::fromUtf8("数据库文件 " + pathUtf8(m_file) + " 中编号"
                                                    + std::to_string(id) + "的行，" + std::string(c.name)
                                                    + "列不是32位整数。"));
                }
                record.*c.integer = static_cast<int32_t>(v);
            } else if (texts && type != SQLITE_NULL) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
                const int size = sqlite3_column_bytes(stmt, col);
                if (text)
                    record.*c.text = gbk::fromUtf8(std::string_view(text, static_cast<std::size_t>(size)));
            }
        }
        sink(sqlite3_column_int64(stmt, 0), std::move(record));
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        fail("无法读取数据库文件 ");
}

std::vector<XjRecord> XjTable::readRange(int64_t offset, int64_t limit) const
{
    std::vector<XjRecord> rows;
    if (limit <= 0 || offset < 0)
        return rows;
    sqlite3_bind_int64(m_select, 1, limit);
    sqlite3_bind_int64(m_select, 2, offset);
    readRows(m_select, [&](int64_t, XjRecord &&r) { rows.push_back(std::move(r)); });
    return rows;
}

std::vector<XjRecord> XjTable::readAll() const
{
    std::vector<XjRecord> rows;
    sqlite3_bind_int64(m_select, 1, -1);
    sqlite3_bind_int64(m_select, 2, 0);
    readRows(m_select, [&](int64_t, XjRecord &&r) { rows.push_back(std::move(r)); });
    return rows;
}

std::vector<XjTable::Row> XjTable::readAllRows() const
{
    std::vector<Row> rows;
    sqlite3_bind_int64(m_select, 1, -1);
    sqlite3_bind_int64(m_select, 2, 0);
    readRows(m_select, [&](int64_t id, XjRecord &&r) { rows.push_back({id, std::move(r)}); });
    return rows;
}

std::vector<XjTable::Row> XjTable::readAllRowsWithoutTexts() const
{
    std::vector<Row> rows;
    sqlite3_bind_int64(m_select, 1, -1);
    sqlite3_bind_int64(m_select, 2, 0);
    readRows(m_select, [&](int64_t id, XjRecord &&r) { rows.push_back({id, std::move(r)}); }, false);
    return rows;
}

GbkString XjTable::nameOf(int64_t id) const
{
    sqlite3_bind_int64(m_name, 1, id);
    const int rc = sqlite3_step(m_name);
    GbkString name;
    if (rc == SQLITE_ROW && sqlite3_column_type(m_name, 0) != SQLITE_NULL) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_name, 0));
        name = gbk::fromUtf8(std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(m_name, 0))));
    }
    sqlite3_reset(m_name);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail("无法读取数据库文件 ");
    return name;
}

void XjTable::clear()
{
    const int rc = sqlite3_step(m_delete);
    sqlite3_reset(m_delete);
    if (rc != SQLITE_DONE)
        fail("无法写入数据库文件 ");
}

void XjTable::append(const XjRecord &record)
{
    std::string utf8;
    for (std::size_t i = 0; i < kXjColumns.size(); ++i) {
        const int param = static_cast<int>(i) + 1;
        const XjColumn &c = kXjColumns[i];
        if (c.integer) {
            sqlite3_bind_int64(m_insert, param, record.*c.integer);
        } else if ((record.*c.text).empty()) {
            sqlite3_bind_null(m_insert, param);
        } else {
            utf8 = gbk::toUtf8(record.*c.text);
            sqlite3_bind_text(m_insert, param, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
    }
    const int rc = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    sqlite3_clear_bindings(m_insert);
    if (rc != SQLITE_DONE)
        fail("无法写入数据库文件 ");
}

void XjTable::updateAdjusted(int64_t id, const XjRecord &r)
{
    const int32_t values[] = {r.xjdj2, r.xjgz2, r.bf102, r.zzxj, r.zz10, r.heji2, r.zzhj, r.bufa};
    int param = 1;
    for (int32_t v : values)
        sqlite3_bind_int64(m_update, param++, v);
    sqlite3_bind_int64(m_update, param, id);
    const int rc = sqlite3_step(m_update);
    sqlite3_reset(m_update);
    if (rc != SQLITE_DONE)
        fail("无法写入数据库文件 ");
}

XjTable::Transaction::Transaction(XjTable &table, OnExit onExit)
    : m_table(table), m_onExit(onExit)
{
    // IMMEDIATE takes the write lock now, so a busy file fails here and not half-way.
    m_table.execute("BEGIN IMMEDIATE", "无法写入数据库文件 ");
}

XjTable::Transaction::~Transaction()
{
    if (!m_open)
        return;
    if (m_onExit == OnExit::Commit
        && sqlite3_exec(m_table.m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return;
    // Rolling back when the commit itself failed leaves the table as it was before.
    sqlite3_exec(m_table.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void XjTable::Transaction::commit()
{
    if (!m_open)
        return;
    if (sqlite3_exec(m_table.m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        // Keep the message before the rollback replaces it.
        try {
            m_table.fail("无法写入数据库文件 ");
        } catch (...) {
            m_open = false;
            sqlite3_exec(m_table.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
    m_open = false;
}

} // namespace quvela::xj
