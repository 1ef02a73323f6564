// What the data grid shows: a table read in ranges, so that a long table is never
// loaded whole.
#pragma once

#include <QVariant>

#include <vector>

namespace quvela::widgets {

class RowSource
{
public:
    virtual ~RowSource() = default;
    virtual int rowCount() = 0;
    // Up to limit rows from offset; each row holds one value per grid column.
    virtual std::vector<QVariantList> readRows(int offset, int limit) = 0;
};

} // namespace quvela::widgets
