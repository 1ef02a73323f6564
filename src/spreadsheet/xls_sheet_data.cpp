#include "spreadsheet/xls_sheet_data.h"

#include "spreadsheet/xls_error.h"

#include <algorithm>
#include <limits>

namespace quvela::spreadsheet {

uint32_t XlsSheetData::addText(std::string_view utf8)
{
    if (m_texts.size() + utf8.size() > std::numeric_limits<uint32_t>::max()
        || m_textStarts.size() >= std::numeric_limits<uint32_t>::max())
        throw workbookTooLarge();
    m_textStarts.push_back(static_cast<uint32_t>(m_texts.size()));
    m_texts.append(utf8);
    return static_cast<uint32_t>(m_textStarts.size() - 1);
}

std::string_view XlsSheetData::text(uint32_t id) const
{
    const std::size_t begin = m_textStarts[id];
    const std::size_t end = id + 1 < m_textStarts.size() ? m_textStarts[id + 1] : m_texts.size();
    return std::string_view(m_texts).substr(begin, end - begin);
}

void XlsSheetData::add(int row, int column, Slot slot)
{
    if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns)
        return;
    if (m_slots.size() >= kMaxCells)
        throw workbookTooLarge();
    slot.key = static_cast<uint32_t>(row) * kMaxColumns + static_cast<uint32_t>(column);
    m_slots.push_back(slot);
}

void XlsSheetData::setNumber(int row, int column, double number, bool isDate)
{
    add(row, column, Slot{0, CellValue::Type::Number, isDate, 0, number});
}

void XlsSheetData::setText(int row, int column, uint32_t textId)
{
    if (textId >= m_textStarts.size())
        throw damagedWorkbook("单元格引用了不存在的字符串");
    add(row, column, Slot{0, CellValue::Type::Text, false, textId, 0});
}

void XlsSheetData::setBoolean(int row, int column, bool value)
{
    add(row, column, Slot{0, CellValue::Type::Boolean, false, value ? 1u : 0u, value ? 1.0 : 0.0});
}

void XlsSheetData::setError(int row, int column, uint8_t code)
{
    add(row, column, Slot{0, CellValue::Type::Error, false, code, 0});
}

void XlsSheetData::setEmpty(int row, int column)
{
    add(row, column, Slot{0, CellValue::Type::Empty, false, 0, 0});
}

void XlsSheetData::finish()
{
    // A stable sort keeps the file's order among duplicates, so the last one written wins.
    std::stable_sort(m_slots.begin(), m_slots.end(),
                     [](const Slot &a, const Slot &b) { return a.key < b.key; });
    std::vector<Slot> kept;
    kept.reserve(m_slots.size());
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (i + 1 < m_slots.size() && m_slots[i + 1].key == m_slots[i].key)
            continue;
        if (m_slots[i].type != CellValue::Type::Empty)
            kept.push_back(m_slots[i]);
    }
    kept.shrink_to_fit();
    m_slots = std::move(kept);
}

CellValue XlsSheetData::cell(int row, int column) const
{
    CellValue value;
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        return value;
    const uint32_t key = static_cast<uint32_t>(row - 1) * kMaxColumns + static_cast<uint32_t>(column - 1);
    const auto it = std::lower_bound(m_slots.begin(), m_slots.end(), key,
                                     [](const Slot &slot, uint32_t k) { return slot.key < k; });
    if (it == m_slots.end() || it->key != key)
        return value;
    value.type = it->type;
    switch (it->type) {
    case CellValue::Type::Number:
        value.number = it->number;
        value.isDate = it->isDate;
        break;
    case CellValue::Type::Boolean:
        value.number = it->number;
        break;
    case CellValue::Type::Text:
        value.text = std::string(text(it->value));
        break;
    case CellValue::Type::Error:
        value.text = errorText(static_cast<uint8_t>(it->value));
        break;
    case CellValue::Type::Empty:
        break;
    }
    return value;
}

int XlsSheetData::lastRow() const
{
    return m_slots.empty() ? 0 : static_cast<int>(m_slots.back().key / kMaxColumns) + 1;
}

int XlsSheetData::lastColumn(int row) const
{
    if (row < 1 || row > kMaxRows)
        return 0;
    const uint32_t end = static_cast<uint32_t>(row) * kMaxColumns;
    const auto it = std::lower_bound(m_slots.begin(), m_slots.end(), end,
                                     [](const Slot &slot, uint32_t k) { return slot.key < k; });
    if (it == m_slots.begin())
        return 0;
    const Slot &last = *(it - 1);
    if (static_cast<int>(last.key / kMaxColumns) != row - 1)
        return 0;
    return static_cast<int>(last.key % kMaxColumns) + 1;
}

std::string XlsSheetData::errorText(uint8_t code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    case 0x2B: return "#GETTING_DATA";
    default: return "#N/A";
    }
}

} // namespace quvela::spreadsheet
