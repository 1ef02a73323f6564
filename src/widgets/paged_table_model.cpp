#include "widgets/paged_table_model.h"

#include <algorithm>
#include <exception>

namespace quvela::widgets {

PagedTableModel::PagedTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void PagedTableModel::setSource(RowSource *source)
{
    m_source = source;
    refresh();
}

void PagedTableModel::setColumns(const QStringList &titles, const std::vector<Qt::Alignment> &alignments)
{
    beginResetModel();
    m_titles = titles;
    m_alignments = alignments;
    endResetModel();
}

void PagedTableModel::setTitles(const QStringList &titles)
{
    if (titles.size() != m_titles.size()) {
        setColumns(titles, m_alignments);
        return;
    }
    m_titles = titles;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(m_titles.size()) - 1);
}

void PagedTableModel::refresh()
{
    beginResetModel();
    m_pages.clear();
    m_recent.clear();
    m_rowsRead = 0;
    m_rowCount = 0;
    if (m_source) {
        try {
            m_rowCount = std::max(0, m_source->rowCount());
        } catch (const std::exception &) {
            // A table that cannot be read shows as empty; the action that needs it
            // reports the error itself.
            m_rowCount = 0;
        }
    }
    endResetModel();
}

int PagedTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int PagedTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

const std::vector<QVariantList> *PagedTableModel::page(int pageIndex) const
{
    auto found = m_pages.find(pageIndex);
    if (found != m_pages.end()) {
        m_recent.remove(pageIndex);
        m_recent.push_front(pageIndex);
        return &found->second;
    }
    if (!m_source)
        return nullptr;
    std::vector<QVariantList> rows;
    try {
        rows = m_source->readRows(pageIndex * kPageRows, kPageRows);
    } catch (const std::exception &) {
        return nullptr;
    }
    m_rowsRead += static_cast<long long>(rows.size());
    if (int(m_recent.size()) >= kCachedPages) {
        m_pages.erase(m_recent.back());
        m_recent.pop_back();
    }
    m_recent.push_front(pageIndex);
    return &m_pages.emplace(pageIndex, std::move(rows)).first->second;
}

QVariant PagedTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rowCount || index.column() >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const auto column = std::size_t(index.column());
        const Qt::Alignment horizontal = column < m_alignments.size() ? m_alignments[column] : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    const std::vector<QVariantList> *rows = page(index.row() / kPageRows);
    if (!rows)
        return {};
    const auto inPage = std::size_t(index.row() % kPageRows);
    if (inPage >= rows->size() || index.column() >= (*rows)[inPage].size())
        return {};
    return (*rows)[inPage][index.column()];
}

QVariant PagedTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles[section];
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags PagedTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace quvela::widgets
