// Telling workbook files apart by their first bytes, never by their extension.
#pragma once

#include <filesystem>

namespace quvela::spreadsheet {

enum class WorkbookFormat { Xlsx, CompoundFile };

// Throws WorkbookOpenError for a missing, unreadable or empty file and for anything that
// is neither a zip package nor a compound file (a text or HTML file named .xls, ...).
WorkbookFormat detectWorkbookFormat(const std::filesystem::path &file);

} // namespace quvela::spreadsheet
