#include "support/sheet_walk.h"

#include "common/errors.h"
#include "spreadsheet/cell_integer.h"
#include "spreadsheet/cell_text.h"

#include <algorithm>
#include <cstdlib>

namespace quvela::fuzz {

std::vector<std::vector<std::string>> walkSheet(const spreadsheet::SheetData &sheet)
{
    constexpr long kMaxLookups = 200'000;
    long budget = kMaxLookups;
    std::vector<std::vector<std::string>> texts;
    const int lastRow = sheet.lastRow();
    for (int row = 1; row <= lastRow && budget > 0; ++row) {
        const int lastColumn = sheet.lastColumn(row);
        if (lastColumn < 0 || lastColumn > 16384)
            std::abort();
        auto &line = texts.emplace_back();
        for (int column = 1; column <= lastColumn && budget > 0; ++column, --budget) {
            spreadsheet::CellValue value;
            try {
                value = sheet.cell(row, column);
            } catch (const QuvelaError &) {
                // A formula without a stored result that cannot be computed: a message.
                line.emplace_back("\x01not computable");
                continue;
            }
            line.push_back(spreadsheet::cellText(value, sheet.uses1904Dates()));
            try {
                (void)spreadsheet::cellInteger(value, sheet.uses1904Dates());
            } catch (const QuvelaError &) {
                // Text that is no number: the tools show a message for it.
            }
        }
        --budget;
    }
    return texts;
}

} // namespace quvela::fuzz
