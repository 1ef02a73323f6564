#include "xj/ui/xj_table_source.h"

#include "xj/xj_columns.h"
#include "xj/xj_table.h"

#include <algorithm>
#include <limits>

namespace quvela::xj {

int XjTableSource::rowCount()
{
    if (!m_table)
        return 0;
    return int(std::min<int64_t>(m_table->rowCount(), std::numeric_limits<int>::max()));
}

std::vector<QVariantList> XjTableSource::readRows(int offset, int limit)
{
    std::vector<QVariantList> rows;
    if (!m_table)
        return rows;
    const std::vector<XjRecord> records = m_table->readRange(offset, limit);
    rows.reserve(records.size());
    int place = offset;
    for (const XjRecord &record : records) {
        QVariantList row;
        row.reserve(1 + int(kXjColumns.size()));
        row << ++place;
        for (const XjColumn &column : kXjColumns) {
            if (column.integer)
                row << record.*column.integer;
            else
                row << gbk::toQString(record.*column.text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace quvela::xj
