#include "spreadsheet/spreadsheet_session.h"

#include "spreadsheet/cell_integer.h"
#include "spreadsheet/cell_reference.h"
#include "spreadsheet/cell_text.h"
#include "spreadsheet/encrypted_package.h"
#include "spreadsheet/workbook_format.h"
#include "spreadsheet/xls_workbook.h"
#include "spreadsheet/xlsx_workbook.h"

namespace quvela::spreadsheet {

struct SpreadsheetSession::Impl
{
    std::unique_ptr<XlsxWorkbook> xlsx;
    std::unique_ptr<XlsWorkbook> xls;

    bool isOpen() const { return xlsx || xls; }
    const SheetData &sheet() const
    {
        if (xlsx)
            return xlsx->cells();
        if (xls)
            return xls->cells();
        throw QuvelaError(gbk::fromUtf8("没有打开的工作簿。"));
    }
    CellValue cell(int row, int column) const
    {
        const SheetData &data = sheet();
        if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
            throw QuvelaError(gbk::fromUtf8("单元格位置无效：第 " + std::to_string(row) + " 行，第 "
                                            + std::to_string(column) + " 列。"));
        if (const int32_t *pending = xlsx ? xlsx->pendingValue(row, column) : xls->pendingValue(row, column)) {
            CellValue value;
            value.type = CellValue::Type::Number;
            value.number = *pending;
            return value;
        }
        return data.cell(row, column);
    }
};

SpreadsheetSession::SpreadsheetSession()
    : d(std::make_unique<Impl>())
{
}

SpreadsheetSession::~SpreadsheetSession() = default;

void SpreadsheetSession::connect() {}
void SpreadsheetSession::hide() {}
void SpreadsheetSession::setCaption(const GbkString &) {}
void SpreadsheetSession::addNewWorkbook() {}

void SpreadsheetSession::open(const std::filesystem::path &file)
{
    end();
    if (detectWorkbookFormat(file) == WorkbookFormat::Xlsx) {
        d->xlsx = std::make_unique<XlsxWorkbook>(file);
        return;
    }
    if (isEncryptedPackage(file))
        throw WorkbookOpenError(gbk::fromUtf8(
            "工作簿设有打开密码（已加密），无法读取。请在 Excel 中取消密码后重试。"));
    d->xls = std::make_unique<XlsWorkbook>(file);
}

void SpreadsheetSession::bindWorkbook()
{
    d->sheet();
}

void SpreadsheetSession::bindFirstWorksheet()
{
    d->sheet();
}

GbkString SpreadsheetSession::readCellText(int row, int column) const
{
    return gbk::fromUtf8(cellText(d->cell(row, column), d->sheet().uses1904Dates()));
}

int32_t SpreadsheetSession::readCellInteger(int row, int column) const
{
    return cellInteger(d->cell(row, column), d->sheet().uses1904Dates());
}

int SpreadsheetSession::lastRow() const
{
    return d->sheet().lastRow();
}

int SpreadsheetSession::lastColumn(int row) const
{
    return d->sheet().lastColumn(row);
}

void SpreadsheetSession::writeCellInteger(int row, int column, int32_t value)
{
    d->cell(row, column); // the same checks as a read
    if (d->xls)
        d->xls->writeInteger(row, column, value);
    else
        d->xlsx->writeInteger(row, column, value);
}

void SpreadsheetSession::closeWithSave()
{
    d->sheet();
    if (d->xlsx)
        d->xlsx->save();
    else
        d->xls->save();
    end();
}

void SpreadsheetSession::end()
{
    d->xlsx.reset();
    d->xls.reset();
}

} // namespace quvela::spreadsheet
