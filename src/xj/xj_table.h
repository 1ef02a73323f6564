// The roster table xjgztz in the SQLite file xjgz.db of the program folder.
#pragma once

#include "xj/xj_record.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace quvela::xj {

// Rows keep the order in which they were appended (column 0, id, is that order).
// Texts are GBK in memory and UTF-8 in the file; an empty text is stored as null.
// Every failure throws QuvelaError with a message for the clerk.
class XjTable
{
public:
    struct Row
    {
        int64_t id = 0;
        XjRecord record;
    };

    // Opens dbFile, creating it with its table when missing. Throws QuvelaError when the
    // file cannot be opened or created, is locked, is not a database, is read-only, or
    // holds a table xjgztz of another shape.
    static std::unique_ptr<XjTable> open(const std::filesystem::path &dbFile);
    ~XjTable();
    XjTable(const XjTable &) = delete;
    XjTable &operator=(const XjTable &) = delete;

    int64_t rowCount() const;
    // Rows offset .. offset + limit - 1 in table order (fewer at the end).
    std::vector<XjRecord> readRange(int64_t offset, int64_t limit) const;
    std::vector<XjRecord> readAll() const;
    std::vector<Row> readAllRows() const;
    // The same with the texts left empty: converting them is most of the cost of reading
    // a long table, and the salary-grade adjustment works on whole numbers only.
    std::vector<Row> readAllRowsWithoutTexts() const;
    // The name (xm) of the row with this id; empty when there is no such row.
    GbkString nameOf(int64_t id) const;

    void clear();
    void append(const XjRecord &record);
    // Stores the columns the salary-grade adjustment computes (xjdj2, xjgz2, bf102,
    // zzxj, zz10, heji2, zzhj, bufa) into the row with this id; the rest stays.
    void updateAdjusted(int64_t id, const XjRecord &record);

    // One transaction for the life of the object. Without commit(), leaving the scope
    // rolls back (OnExit::Rollback) or keeps what was done so far (OnExit::Commit, for
    // operations whose finished rows must survive a stop half-way).
    class Transaction
    {
    public:
        enum class OnExit { Rollback, Commit };
        explicit Transaction(XjTable &table, OnExit onExit = OnExit::Rollback);
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        void commit();

    private:
        XjTable &m_table;
        OnExit m_onExit;
        bool m_open = true;
    };

private:
    XjTable() = default;
    void prepareStatements();
    void execute(const char *sql, const char *what);
    sqlite3_stmt *prepare(const char *sql);
    void readRows(sqlite3_stmt *stmt, const std::function<void(int64_t, XjRecord &&)> &sink,
                  bool texts = true) const;
    [[noreturn]] void fail(const char *what) const;

    std::filesystem::path m_file;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_count = nullptr;
    sqlite3_stmt *m_select = nullptr;
    sqlite3_stmt *m_insert = nullptr;
    sqlite3_stmt *m_update = nullptr;
    sqlite3_stmt *m_delete = nullptr;
    sqlite3_stmt *m_name = nullptr;
};

} // namespace quvela::xj
