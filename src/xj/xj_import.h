// "读入": replaces the roster table with the checked rows of a range of the workbook.
#pragma once

#include "common/ini_file.h"
#include "common/prompts.h"
#include "common/settings_records.h"
#include "xj/xj_record.h"

#include <optional>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {
class SpreadsheetSession;
}

namespace quvela::xj {

class XjTable;

// The row box that should take the focus after the row-range check.
enum class RangeBox { None, Start, End };

struct ImportResult
{
    bool completed = false;          // the whole range was read
    RangeBox focus = RangeBox::None; // the range check failed on this box
    int64_t rowsStored = 0;
};

// Reads worksheet row `row` into record through the 32 column numbers of the map, in
// the order that decides which fault is reported first. Returns the message of the
// first bad cell; the record is then incomplete.
std::optional<GbkString> readRosterRow(const spreadsheet::SpreadsheetSession &sheet, int row,
                                       const std::vector<int> &columns, XjRecord &record);

// The whole operation: range check, question, file choice (remembered in ini under
// excelFileName, even when empty), the workbook, then the rows startText..endText
// (the texts of the row boxes) into the table. The rows stored before a stop stay.
// Every message is shown through prompts; never throws.
ImportResult importRoster(Prompts &prompts, IniFile &ini, const TXtcs &settings, std::string_view startText,
                          std::string_view endText, XjTable &table);

} // namespace quvela::xj
