// A connection to a roster workbook with the steps the tools were built around
// (connect, hide, caption, new workbook, open, bind, read, write, close with save,
// end). There is no spreadsheet application behind it: the session works on the file.
#pragma once

#include "common/errors.h"
#include "common/gbk.h"

#include <filesystem>
#include <memory>

namespace quvela::spreadsheet {

// The workbook could not be opened (missing, not a workbook, damaged, encrypted, too large).
class WorkbookOpenError : public QuvelaError
{
public:
    using QuvelaError::QuvelaError;
};

class SpreadsheetSession
{
public:
    SpreadsheetSession();
    ~SpreadsheetSession();
    SpreadsheetSession(const SpreadsheetSession &) = delete;
    SpreadsheetSession &operator=(const SpreadsheetSession &) = delete;

    // Steps that mean nothing without an application; kept so callers keep their order.
    void connect();
    void hide();
    void setCaption(const GbkString &caption);
    void addNewWorkbook();

    // Detects the format by content. Throws WorkbookOpenError.
    void open(const std::filesystem::path &file);
    void bindWorkbook();
    void bindFirstWorksheet();

    // Cell (row, column), both counting from 1. Whole numbers as plain digits, fractions
    // with at most 15 significant digits, date-formatted numbers as yyyy-M-d, text as
    // stored, empty and missing cells as the empty text.
    GbkString readCellText(int row, int column) const;
    // Nearest integer (halves to even) of a number, a numeric text converted, 0 for an
    // empty cell; other text throws ConversionError "'%s' is not a valid integer value".
    int32_t readCellInteger(int row, int column) const;
    // The extent of the worksheet as read from the file: the last row holding a
    // non-empty cell (0 for an empty sheet) and the last such column of a row.
    int lastRow() const;
    int lastColumn(int row) const;

    // Throws QuvelaError for a cell that must not be written (inside a merged range,
    // inside an array formula or a table header, the first cell of a shared formula
    // whose other cells could not keep their formulas, outside the sheet a .xls file
    // can hold).
    void writeCellInteger(int row, int column, int32_t value);
    // Saves in place: temporary file beside the workbook, verified, renamed over it.
    void closeWithSave();
    // Releases the workbook; never throws; safe to call more than once.
    void end();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quvela::spreadsheet
