// The opening steps the XJ import and write-back share.
#pragma once

#include "common/prompts.h"
#include "spreadsheet/spreadsheet_session.h"

namespace quvela::xj {

// Connects, opens file and binds its first worksheet. When a step fails, its message is
// shown, the session is ended and the result is false; nothing else has changed then.
bool openRosterWorkbook(Prompts &prompts, spreadsheet::SpreadsheetSession &sheet, const GbkString &file);

} // namespace quvela::xj
