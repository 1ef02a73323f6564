// The roster table as the grid reads it: column 0 the row's place, then the 32 table
// columns, texts converted for display.
#pragma once

#include "widgets/row_source.h"

namespace quvela::xj {

class XjTable;

class XjTableSource final : public widgets::RowSource
{
public:
    // table may be null (a table that could not be opened shows as empty).
    explicit XjTableSource(XjTable *table) : m_table(table) {}
    void setTable(XjTable *table) { m_table = table; }

    int rowCount() override;
    std::vector<QVariantList> readRows(int offset, int limit) override;

private:
    XjTable *m_table;
};

} // namespace quvela::xj
