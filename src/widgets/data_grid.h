// The read-only data grid: grouped multi-line titles, 18-pixel rows, a model that reads
// its rows in pages, and a freeze for long operations.
#pragma once

#include "widgets/grouped_header_view.h"
#include "widgets/paged_table_model.h"

#include <QTableView>

#include <vector>

namespace quvela::widgets {

class DataGrid final : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 18;

    explicit DataGrid(QWidget *parent = nullptr);

    PagedTableModel *pagedModel() const { return m_model; }
    GroupedHeaderView *groupedHeader() const { return m_header; }

    void setColumns(const QStringList &titles, const std::vector<Qt::Alignment> &alignments);
    void setTitles(const QStringList &titles);

    // Widths of the given logical columns, in that order.
    std::vector<int> columnWidths(const std::vector<int> &columns) const;
    void setColumnWidths(const std::vector<int> &columns, const std::vector<int> &widths);

    // While suspended the grid neither repaints nor reads the table; resume re-reads it.
    // Calls nest.
    void suspend();
    void resume();
    bool isSuspended() const { return m_suspended > 0; }

    // Re-reads the row count and drops the cached rows.
    void refresh();

private:
    void titlesChanged();

    PagedTableModel *m_model;
    GroupedHeaderView *m_header;
    int m_suspended = 0;
};

// Keeps a grid suspended for the life of the object, also when an operation throws.
class GridFreeze
{
public:
    explicit GridFreeze(DataGrid &grid) : m_grid(grid) { m_grid.suspend(); }
    ~GridFreeze() { m_grid.resume(); }
    GridFreeze(const GridFreeze &) = delete;
    GridFreeze &operator=(const GridFreeze &) = delete;

private:
    DataGrid &m_grid;
};

} // namespace quvela::widgets
