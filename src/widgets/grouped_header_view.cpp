#include "widgets/grouped_header_view.h"

#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <numeric>

namespace quvela::widgets {
namespace {
constexpr int kRowPadding = 4;
}

GroupedHeaderView::GroupedHeaderView(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    connect(this, &QHeaderView::sectionCountChanged, this, [this] { updateGeometry(); });
}

std::vector<int> GroupedHeaderView::shownSections() const
{
    std::vector<int> sections;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (logical >= 0 && !isSectionHidden(logical))
            sections.push_back(logical);
    }
    return sections;
}

HeaderLayout GroupedHeaderView::currentLayout() const
{
    QStringList titles;
    if (model())
        for (int logical : shownSections())
            titles << model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
    return HeaderLayout::build(titles);
}

std::pair<int, int> GroupedHeaderView::groupSpan(int logicalIndex, int level) const
{
    const std::vector<int> sections = shownSections();
    const auto it = std::find(sections.begin(), sections.end(), logicalIndex);
    if (it == sections.end())
        return {-1, -1};
    const HeaderLayout layout = currentLayout();
    const HeaderCell *cell = layout.cellAt(int(it - sections.begin()), level);
    if (!cell)
        return {-1, -1};
    return {sections[std::size_t(cell->first)], sections[std::size_t(cell->last)]};
}

int GroupedHeaderView::lineHeight() const
{
    // Chinese characters come from a fallback face whose lines are taller than those of
    // the Latin face the metrics describe; measure a laid-out line that holds both.
    const QRect line = fontMetrics().boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft | Qt::AlignTop,
                                                  QStringLiteral("工资Ag"));
    return std::max(fontMetrics().height(), line.height());
}

QSize GroupedHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    const HeaderLayout layout = currentLayout();
    int height = 0;
    for (int lines : layout.rowLines())
        height += lines * lineHeight() + kRowPadding;
    size.setHeight(std::max(height, lineHeight() + kRowPadding));
    return size;
}

void GroupedHeaderView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    const std::vector<int> sections = shownSections();
    const HeaderLayout layout = currentLayout();
    if (sections.empty() || layout.rowCount() == 0)
        return;

    // Row tops; the last row takes whatever height the header has beyond its need.
    std::vector<int> tops(std::size_t(layout.rowCount()) + 1, 0);
    for (int r = 0; r < layout.rowCount(); ++r)
        tops[std::size_t(r) + 1] = tops[std::size_t(r)]
                                   + layout.rowLines()[std::size_t(r)] * lineHeight() + kRowPadding;
    tops.back() = std::max(tops.back(), viewport()->height());

    const QColor line = palette().color(QPalette::Dark);
    painter.setFont(font());
    for (const HeaderCell &cell : layout.cells()) {
        const int firstSection = sections[std::size_t(cell.first)];
        const int lastSection = sections[std::size_t(cell.last)];
        const int left = sectionViewportPosition(firstSection);
        const int right = sectionViewportPosition(lastSection) + sectionSize(lastSection);
        const QRect rect(left, tops[std::size_t(cell.topRow)], right - left,
                         tops[std::size_t(cell.topRow + cell.rowSpan)] - tops[std::size_t(cell.topRow)]);
        if (!rect.intersects(event->rect()))
            continue;
        painter.setPen(line);
        painter.drawLine(rect.topRight() + QPoint(-1, 0), rect.bottomRight() + QPoint(-1, 0));
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect.adjusted(1, 0, -2, -1), Qt::AlignCenter, cell.text);
    }
}

} // namespace quvela::widgets
