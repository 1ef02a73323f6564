#include "widgets/header_layout.h"

#include <algorithm>

namespace quvela::widgets {
namespace {

QStringList levelsOf(const QString &title)
{
    QString text = title;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(QLatin1Char('\r'));
    return text.split(QLatin1Char('|'));
}

int lineCount(const QString &text)
{
    return int(text.count(QLatin1Char('\n'))) + 1;
}

// Columns c and d share their piece at level k when both have the same number of levels
// and agree on every level down to k: a heading groups only what lies under one parent.
bool sharePiece(const QStringList &a, const QStringList &b, int k)
{
    if (a.size() != b.size() || k >= a.size() - 1)
        return false;
    for (int i = 0; i <= k; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

} // namespace

HeaderLayout HeaderLayout::build(const QStringList &titles)
{
    HeaderLayout layout;
    std::vector<QStringList> levels;
    int rows = 0;
    for (const QString &title : titles) {
        levels.push_back(levelsOf(title));
        rows = std::max(rows, int(levels.back().size()));
    }
    if (rows == 0)
        return layout;
    layout.m_rowLines.assign(std::size_t(rows), 1);

    const int columns = int(levels.size());
    for (int k = 0; k < rows; ++k) {
        for (int c = 0; c < columns;) {
            const QStringList &pieces = levels[std::size_t(c)];
            const int n = int(pieces.size());
            if (k >= n) {
                ++c;
                continue;
            }
            int last = c;
            while (last + 1 < columns && sharePiece(pieces, levels[std::size_t(last + 1)], k))
                ++last;
            HeaderCell cell;
            cell.first = c;
            cell.last = last;
            // The first level of a short title reaches up to the top row.
            cell.topRow = k == 0 ? 0 : rows - n + k;
            cell.rowSpan = k == 0 ? rows - n + 1 : 1;
            cell.text = pieces[k];
            layout.m_cells.push_back(cell);
            c = last + 1;
        }
    }

    for (const HeaderCell &cell : layout.m_cells)
        if (cell.rowSpan == 1) {
            int &lines = layout.m_rowLines[std::size_t(cell.topRow)];
            lines = std::max(lines, lineCount(cell.text));
        }
    // A spanning first level that holds more lines than its rows gets them at its top row.
    for (const HeaderCell &cell : layout.m_cells) {
        if (cell.rowSpan == 1)
            continue;
        int available = 0;
        for (int r = cell.topRow; r < cell.topRow + cell.rowSpan; ++r)
            available += layout.m_rowLines[std::size_t(r)];
        const int missing = lineCount(cell.text) - available;
        if (missing > 0)
            layout.m_rowLines[std::size_t(cell.topRow)] += missing;
    }
    return layout;
}

const HeaderCell *HeaderLayout::cellAt(int column, int row) const
{
    for (const HeaderCell &cell : m_cells)
        if (column >= cell.first && column <= cell.last && row >= cell.topRow
            && row < cell.topRow + cell.rowSpan)
            return &cell;
    return nullptr;
}

} // namespace quvela::widgets
