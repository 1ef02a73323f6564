// The grid's lazy model over the real roster table: what it asks the table for, how
// many pages it keeps, and a table that fails under it.
#include "xj_window_fixture.h"

#include "widgets/paged_table_model.h"
#include "xj/ui/xj_table_source.h"

using namespace quvela;
using namespace quvela::test;
using widgets::PagedTableModel;

namespace {

// Passes every call on to the roster table and counts it.
class CountingSource final : public widgets::RowSource
{
public:
    explicit CountingSource(xj::XjTable *table) : m_inner(table) {}

    int rowCount() override
    {
        ++countCalls;
        if (failing)
            throw std::runtime_error("table lost");
        return m_inner.rowCount();
    }

    std::vector<QVariantList> readRows(int offset, int limit) override
    {
        if (failing)
            throw std::runtime_error("table lost");
        reads.emplace_back(offset, limit);
        return m_inner.readRows(offset, limit);
    }

    int countCalls = 0;
    bool failing = false;
    std::vector<std::pair<int, int>> reads;

private:
    xj::XjTableSource m_inner;
};

class PagedModel : public XjWindowTest
{
protected:
    void SetUp() override
    {
        XjWindowTest::SetUp();
        std::vector<xj::XjRecord> rows;
        for (int i = 1; i <= 3000; ++i)
            rows.push_back(person(i, "赵六"));
        storeRows(rows);
        table = xj::XjTable::open(dir / "xjgz.db");
        source = std::make_unique<CountingSource>(table.get());
        model.setColumns({QStringLiteral("#"), QStringLiteral("xh"), QStringLiteral("xm")}, {});
        model.setSource(source.get());
    }

    int xhAt(int row) const { return model.index(row, 1).data().toInt(); }

    std::unique_ptr<xj::XjTable> table;
    std::unique_ptr<CountingSource> source;
    PagedTableModel model;
};

TEST_F(PagedModel, ReadsOnlyThePagesAskedFor)
{
    constexpr int page = PagedTableModel::kPageRows;
    struct Case
    {
        int row;
        int xh;
        std::size_t readsAfter; // pages read so far
    };
    const Case cases[] = {
        {0, 1, 1},
        {page - 1, page, 1},        // same page
        {page, page + 1, 2},        // next page
        {2999, 3000, 3},            // the last, short page
        {1, 2, 3},                  // cached
        {page * 5 + 7, page * 5 + 8, 4},
    };
    EXPECT_EQ(source->countCalls, 1);
    EXPECT_EQ(model.rowCount(), 3000);
    EXPECT_TRUE(source->reads.empty());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(xhAt(c.row), c.xh);
        EXPECT_EQ(source->reads.size(), c.readsAfter);
    }
    for (const auto &[offset, limit] : source->reads) {
        EXPECT_EQ(offset % page, 0);
        EXPECT_EQ(limit, page);
    }
    EXPECT_EQ(model.rowsRead(), 3 * page + (3000 - 11 * page));
}

TEST_F(PagedModel, KeepsOnlyAFewPages)
{
    constexpr int page = PagedTableModel::kPageRows;
    const int pages = (3000 + page - 1) / page;
    ASSERT_GT(pages, PagedTableModel::kCachedPages + 1);
    for (int p = 0; p < pages; ++p)
        xhAt(p * page);
    ASSERT_EQ(source->reads.size(), std::size_t(pages));
    // The most recent pages are still there; the first one was dropped and is read again.
    xhAt((pages - 1) * page);
    EXPECT_EQ(source->reads.size(), std::size_t(pages));
    EXPECT_EQ(xhAt(0), 1);
    EXPECT_EQ(source->reads.size(), std::size_t(pages) + 1);
}

TEST_F(PagedModel, RefreshForgetsRowsAndCount)
{
    EXPECT_EQ(xhAt(0), 1);
    table->clear();
    table->append(person(42, "孙七"));
    // Until refreshed the model shows what it holds.
    EXPECT_EQ(xhAt(0), 1);
    model.refresh();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(xhAt(0), 42);
    EXPECT_EQ(model.rowsRead(), 1);
}

TEST_F(PagedModel, TableThatFailsShowsEmptyInsteadOfCrashing)
{
    source->failing = true;
    EXPECT_EQ(xhAt(0), 0); // nothing read
    EXPECT_FALSE(model.index(0, 2).data().isValid());
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
    source->failing = false;
    model.refresh();
    EXPECT_EQ(model.rowCount(), 3000);
    EXPECT_EQ(xhAt(2999), 3000);
}

} // namespace
