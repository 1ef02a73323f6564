// "回写": stores the adjusted grade, amounts and increases into the workbook rows the
// table was imported from, and saves the workbook in place.
#pragma once

#include "common/ini_file.h"
#include "common/prompts.h"
#include "common/settings_records.h"

#include <string_view>

namespace quvela::xj {

class XjTable;

// Workbook: the one the last import remembered. Rows startText..endText (the texts of
// the row boxes) are paired with the table rows in order; a row the import skipped
// (empty sequence number or name) takes no table row. A marked row whose name agrees
// gets xjdj2, xjgz2, bf102 (unless 0), zzxj and zz10 (unless 0). Marked persons left
// out because the names disagree are listed after the success message.
// Returns true when the workbook was saved; never throws (failures are shown).
bool writeBackRoster(Prompts &prompts, IniFile &ini, const TXtcs &settings, std::string_view startText,
                     std::string_view endText, const XjTable &table);

} // namespace quvela::xj
