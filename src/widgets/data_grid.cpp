#include "widgets/data_grid.h"

#include "widgets/grid_cell_delegate.h"

namespace quvela::widgets {

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new PagedTableModel(this))
    , m_header(new GroupedHeaderView(this))
{
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new GridCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setFixedWidth(14);
    rows->setDefaultAlignment(Qt::AlignCenter);
    // Row numbers would cost a page read per shown row number; the indicator stays blank.
    QPalette p = rows->palette();
    p.setColor(QPalette::ButtonText, Qt::transparent);
    rows->setPalette(p);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setMinimumSectionSize(8);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, [this] { titlesChanged(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { titlesChanged(); });
}

void DataGrid::setColumns(const QStringList &titles, const std::vector<Qt::Alignment> &alignments)
{
    m_model->setColumns(titles, alignments);
}

void DataGrid::setTitles(const QStringList &titles)
{
    m_model->setTitles(titles);
}

void DataGrid::titlesChanged()
{
    m_header->updateGeometry();
    updateGeometries();
    m_header->viewport()->update();
}

std::vector<int> DataGrid::columnWidths(const std::vector<int> &columns) const
{
    std::vector<int> widths;
    widths.reserve(columns.size());
    for (int column : columns)
        widths.push_back(columnWidth(column));
    return widths;
}

void DataGrid::setColumnWidths(const std::vector<int> &columns, const std::vector<int> &widths)
{
    for (std::size_t i = 0; i < columns.size() && i < widths.size(); ++i)
        setColumnWidth(columns[i], widths[i]);
}

void DataGrid::suspend()
{
    if (m_suspended++ == 0)
        setUpdatesEnabled(false);
}

void DataGrid::resume()
{
    if (m_suspended == 0 || --m_suspended > 0)
        return;
    refresh();
    setUpdatesEnabled(true);
}

void DataGrid::refresh()
{
    if (m_suspended > 0)
        return;
    // A model reset would also reset the column widths' hidden state in some styles;
    // remember what the user set and put it back.
    std::vector<int> widths;
    std::vector<bool> hidden;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        widths.push_back(columnWidth(c));
        hidden.push_back(isColumnHidden(c));
    }
    m_model->refresh();
    for (int c = 0; c < m_model->columnCount() && std::size_t(c) < widths.size(); ++c) {
        setColumnWidth(c, widths[std::size_t(c)]);
        setColumnHidden(c, hidden[std::size_t(c)]);
    }
}

} // namespace quvela::widgets
