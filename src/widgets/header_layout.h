// Where each piece of a grouped column title goes: titles are split into levels at "|",
// equal upper levels of neighbouring columns share one group heading, and a column with
// fewer levels than the others lets its first level fill the rows above.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace quvela::widgets {

struct HeaderCell
{
    int first = 0;    // first column covered (index into the titles given)
    int last = 0;     // last column covered
    int topRow = 0;   // first header row, 0 at the top
    int rowSpan = 1;
    QString text;     // lines separated by '\n'
};

class HeaderLayout
{
public:
    // titles: one per shown column, in the order shown; "\r\n" inside a level breaks the line.
    static HeaderLayout build(const QStringList &titles);

    int rowCount() const { return int(m_rowLines.size()); }
    // Text lines each header row needs so that no title is cut.
    const std::vector<int> &rowLines() const { return m_rowLines; }
    const std::vector<HeaderCell> &cells() const { return m_cells; }
    // The cell covering column at header row, or nullptr outside the layout.
    const HeaderCell *cellAt(int column, int row) const;

private:
    std::vector<HeaderCell> m_cells;
    std::vector<int> m_rowLines;
};

} // namespace quvela::widgets
