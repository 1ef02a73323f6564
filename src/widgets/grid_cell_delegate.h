// Paints the grid's cells with the narrow margins of a spreadsheet-like data grid: a
// column sized for six digits or four Chinese characters shows them whole.
#pragma once

#include <QStyledItemDelegate>

namespace quvela::widgets {

class GridCellDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Left of the text, and right of it; the cell already ends before the grid line.
    static constexpr int kLeftMargin = 2;
    static constexpr int kRightMargin = 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace quvela::widgets
