// The formulas of the other worksheets that a write into the first one may make stale:
// those that read it (through its name, or a defined name, which may point anywhere),
// and those that read such formulas. Their stored results are removed on save, since
// the engine holds only the first sheet; the workbook asks for recalculation on open.
#pragma once

#include "spreadsheet/formula_cell_edits.h"
#include "spreadsheet/xlsx_parts.h"
#include "spreadsheet/zip_package.h"

#include <map>
#include <string>
#include <vector>

namespace quvela::spreadsheet {

// Part name -> the edits of that part (results removed); sheets without such formulas,
// and sheets that cannot be read, are left out and stay as they are.
std::map<std::string, FormulaCellEdits> staleFormulasOfOtherSheets(ZipPackage &package,
                                                                  const std::vector<XlsxParts::Sheet> &sheets,
                                                                  const std::string &writtenSheet);

} // namespace quvela::spreadsheet
