// The cells of a sheet that a write must not touch, because changing them alone would
// damage the workbook: the inner cells of merged ranges, the masters of shared formulas,
// the cells of array formulas and data tables, and the header rows of tables.
#pragma once

#include "spreadsheet/cell_reference.h"

#include <optional>
#include <string>
#include <vector>

namespace quvela::spreadsheet {

class CellWriteGuard
{
public:
    static constexpr std::size_t kMaxRanges = 1u << 20;

    // Each throws WorkbookOpenError past kMaxRanges.
    void addMerged(const CellRange &range);
    void addSharedFormulaMaster(CellPosition cell);
    void addArrayFormula(const CellRange &range);
    void addTableHeader(const CellRange &range);
    // Call after the last add.
    void finish();

    // Why the cell must not be written (UTF-8), or nullopt when it may be.
    std::optional<std::string> refusal(int row, int column) const;

private:
    // Ranges sorted by first row, with the largest last row of each prefix, so that a
    // lookup stops as soon as no earlier range can reach the row.
    struct RangeSet
    {
        std::vector<CellRange> ranges;
        std::vector<int> reach;
        void finish();
        const CellRange *find(int row, int column, bool skipTopLeft) const;
    };
    void checkCount() const;

    RangeSet m_merged;
    RangeSet m_arrays;
    RangeSet m_tableHeaders;
    std::vector<CellPosition> m_masters;
};

} // namespace quvela::spreadsheet
