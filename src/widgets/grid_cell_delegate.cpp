#include "widgets/grid_cell_delegate.h"

#include <QApplication>
#include <QPainter>

namespace quvela::widgets {

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    // The style draws background, selection and focus; the text goes in by hand, since
    // the style's own text margins would cut values the column widths were made for.
    cell.text.clear();
    const QWidget *widget = cell.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (text.isEmpty())
        return;

    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Normal
                                                                              : QPalette::Inactive;
    const QPalette::ColorRole role = (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    const QRect area = cell.rect.adjusted(kLeftMargin, 0, -kRightMargin, 0);
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(group, role));
    painter->drawText(area, int(cell.displayAlignment) | Qt::TextSingleLine,
                      cell.fontMetrics.elidedText(text, Qt::ElideRight, area.width()));
    painter->restore();
}

} // namespace quvela::widgets
