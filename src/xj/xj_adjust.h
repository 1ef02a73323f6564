// "调薪": the annual salary-grade step of every row marked for adjustment.
#pragma once

#include "common/prompts.h"
#include "common/settings_records.h"
#include "xj/grade_table.h"
#include "xj/xj_record.h"

#include <optional>

namespace quvela::xj {

class XjTable;

// Half to even of numerator / 10, exactly (12.5 -> 12, 13.5 -> 14, -12.5 -> -12).
int64_t roundTenth(int64_t numerator);

// The step for one row: new grade and amount, the 10 % supplement, the increases, the
// total and the back pay, from the imported old values (so it can be repeated). Returns
// the message that stops the adjustment at this row (a grade beyond its amount table,
// a result beyond the 32-bit range); the record is then left as it was. Rows whose
// sftz is not 1 are not touched.
std::optional<GbkString> adjustRecord(XjRecord &record, int32_t months, const GradeTable &table1,
                                      const GradeTable &table2);

// The whole operation on the table, with its messages and wait window. Uses Month,
// GradeTable1 and GradeTable2 of the settings. Rows before a stop keep their new values.
// Returns true when every row was done; never throws (failures are shown).
bool adjustSalaryGrades(Prompts &prompts, const TXtcs &settings, XjTable &table);

} // namespace quvela::xj
