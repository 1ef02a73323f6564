// Which cell styles of an .xlsx show numbers as dates.
#pragma once

#include "spreadsheet/zip_package.h"

#include <string>
#include <vector>

namespace quvela::spreadsheet {

// One flag per cellXfs entry; a custom <numFmt> overrides the built-in meaning of its id.
// Throws WorkbookOpenError when the part is damaged; no part gives no date styles.
std::vector<bool> readDateStyles(ZipPackage &package, const std::string &stylesPart);

} // namespace quvela::spreadsheet
