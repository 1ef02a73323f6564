// Writes integers into the cells of a worksheet part by copying its XML and changing
// only the cells written (and the references and spans that must follow them).
#pragma once

#include "spreadsheet/pending_writes.h"
#include "spreadsheet/formula_cell_edits.h"
#include "spreadsheet/xml_scanner.h"

#include <cstdint>
#include <map>
#include <string>

namespace quvela::spreadsheet {

// The new worksheet XML. A written cell keeps its style and its other attributes and
// loses its type, formula and inline text; a missing row or cell is created in order,
// styled like its row (customFormat) or its column. Rows and cells without a reference
// get one, so that nothing after an inserted cell moves. Throws QuvelaError when the
// sheet's structure cannot be followed (rows or cells out of order, no sheetData) and
// XmlError when the XML is damaged.
// Formula cells named in edits change as the edit says and keep everything else.
std::string rewriteSheet(XmlScanner::Source source, const PendingWrites &writes,
                         const FormulaCellEdits &edits = {});

} // namespace quvela::spreadsheet
