// The roster table as UTF-8 tab-separated text, for scripts and for comparing runs.
#pragma once

#include <ostream>

namespace quvela::xj {

class XjTable;

// A header line of the 32 column names, then one line per row in table order:
// integers in decimal, texts in UTF-8, a null as the empty field. Texts may hold any
// character, so a backslash, tab, line feed or carriage return inside one is written
// as \\, \t, \n or \r to keep one row on one line.
void writeTableTsv(const XjTable &table, std::ostream &out);

} // namespace quvela::xj
