// A read-only table model over a RowSource that reads pages on demand and keeps only a
// few of them, so that a grid over tens of thousands of rows stays quick and small.
#pragma once

#include "widgets/row_source.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <list>
#include <map>
#include <memory>
#include <vector>

namespace quvela::widgets {

class PagedTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kPageRows = 256;
    static constexpr int kCachedPages = 8;

    explicit PagedTableModel(QObject *parent = nullptr);

    // The source may be null (nothing to show). The model does not own it.
    void setSource(RowSource *source);
    void setColumns(const QStringList &titles, const std::vector<Qt::Alignment> &alignments);
    void setTitles(const QStringList &titles);
    // Forgets the cached pages and the row count and asks the source again.
    void refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Rows read from the source since the last refresh (for checks of laziness).
    long long rowsRead() const { return m_rowsRead; }

private:
    const std::vector<QVariantList> *page(int pageIndex) const;

    RowSource *m_source = nullptr;
    QStringList m_titles;
    std::vector<Qt::Alignment> m_alignments;
    int m_rowCount = 0;
    mutable std::map<int, std::vector<QVariantList>> m_pages;
    mutable std::list<int> m_recent; // most recently used first
    mutable long long m_rowsRead = 0;
};

} // namespace quvela::widgets
