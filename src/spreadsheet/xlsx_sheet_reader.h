// Reads the parts of an .xlsx that hold the first worksheet's cells, streaming, so the
// memory taken is that of the cells found, not of the XML.
#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/cell_write_guard.h"
#include "spreadsheet/sheet_formulas.h"
#include "spreadsheet/zip_package.h"

#include <string>
#include <vector>

namespace quvela::spreadsheet {

// All throw WorkbookOpenError.

// Adds the shared strings to the store's texts, in order, so that a string's index in
// the table is its index in the store. Returns how many there are.
std::size_t readSharedStrings(ZipPackage &package, const std::string &part, CellStore &store);

// The cells of the sheet into the store (a formula cell with its stored result), the
// formulas into formulas, merged ranges and array formula ranges into the guard.
void readSheetCells(ZipPackage &package, const std::string &sheetPart,
                    const std::vector<bool> &dateStyles, std::size_t sharedStringCount,
                    bool date1904, CellStore &store, CellWriteGuard &guard,
                    SheetFormulas &formulas);

// The header rows of the sheet's tables into the guard.
void readTableHeaders(ZipPackage &package, const std::vector<std::string> &tableParts,
                      CellWriteGuard &guard);

// An ISO 8601 date-time ("2020-05-01T08:30:00") as a date serial; nullopt when malformed.
std::optional<double> isoDateSerial(std::string_view text, bool date1904);

} // namespace quvela::spreadsheet
