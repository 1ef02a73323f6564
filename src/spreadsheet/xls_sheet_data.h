// The cells of a worksheet read from an .xls workbook, stored sparsely.
#pragma once

#include "spreadsheet/sheet_data.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

class XlsSheetData final : public SheetData
{
public:
    // BIFF8 sheets have 65,536 rows and 256 columns.
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;
    // Far beyond any roster; bounds memory on hostile files (about 24 bytes a cell).
    static constexpr std::size_t kMaxCells = 4'000'000;

    // Texts are numbered in the order they are added, from 0. Throws WorkbookOpenError
    // when the texts outgrow what one workbook may hold.
    uint32_t addText(std::string_view utf8);
    uint32_t textCount() const { return static_cast<uint32_t>(m_textStarts.size()); }

    // Rows and columns count from 0 here, as the file stores them; a cell set twice
    // keeps the later value. Throws WorkbookOpenError beyond kMaxCells.
    void setNumber(int row, int column, double number, bool isDate);
    void setText(int row, int column, uint32_t textId);
    void setBoolean(int row, int column, bool value);
    void setError(int row, int column, uint8_t code);
    void setEmpty(int row, int column);
    // Call once after the last set*, before reading.
    void finish();

    CellValue cell(int row, int column) const override;
    int lastRow() const override;
    int lastColumn(int row) const override;

    // "#DIV/0!" and the like for a BIFF error code; "#N/A" for a code Excel never writes.
    static std::string errorText(uint8_t code);

private:
    struct Slot
    {
        uint32_t key = 0; // row * kMaxColumns + column
        CellValue::Type type = CellValue::Type::Empty;
        bool isDate = false;
        uint32_t value = 0; // text id, error code or boolean
        double number = 0;
    };

    void add(int row, int column, Slot slot);
    std::string_view text(uint32_t id) const;

    std::vector<Slot> m_slots;
    std::string m_texts;
    std::vector<uint32_t> m_textStarts;
};

} // namespace quvela::spreadsheet
