// An .xls (BIFF8) workbook opened for reading its first worksheet and writing integers
// into it.
#pragma once

#include "spreadsheet/pending_writes.h"
#include "spreadsheet/sheet_data.h"
#include "spreadsheet/xls_sheet_editor.h"

#include <filesystem>
#include <memory>
#include <string>

namespace quvela::spreadsheet {

class XlsWorkbook
{
public:
    // Reads the first worksheet. Throws WorkbookOpenError.
    explicit XlsWorkbook(const std::filesystem::path &file);
    // The same from the bytes of a file (kept by the workbook).
    explicit XlsWorkbook(std::string bytes);
    ~XlsWorkbook();

    const SheetData &cells() const { return *m_cells; }

    // Kept until save(); a later write to the same cell wins. Throws QuvelaError for a
    // cell that must not be written; nothing is recorded then.
    void writeInteger(int row, int column, int32_t value);
    const int32_t *pendingValue(int row, int column) const;
    // What the reader gives back for a number written into a cell: a date-formatted
    // cell of a workbook in the 1904 date system reads as a serial from 1900, as
    // every date of such a workbook does.
    double readBack(int32_t value, bool isDate) const;

    // The whole file with the writes and the new results of the formulas that read
    // them (given back in recalculated), its other streams and storages carried over.
    std::string buildFile(std::vector<FormulaResult> *recalculated = nullptr) const;

    // Writes buildFile() beside the original, reads it back and checks every cell, then
    // renames it over the original. Throws QuvelaError; the original is then untouched.
    void save();

private:
    void load();
    std::vector<FormulaResult> recalculate() const;

    std::filesystem::path m_file;
    std::string m_bytes;
    std::string m_stream;
    std::string m_streamName;
    std::unique_ptr<SheetData> m_cells;
    std::unique_ptr<XlsSheetEditor> m_editor;
    PendingWrites m_writes;
};

} // namespace quvela::spreadsheet
