#include "spreadsheet/xls_workbook.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/atomic_file_replace.h"
#include "spreadsheet/compound_file.h"
#include "spreadsheet/compound_file_writer.h"
#include "spreadsheet/xls_error.h"
#include "spreadsheet/cell_reference.h"
#include "spreadsheet/xls_reader.h"

#include <fstream>
#include <map>

namespace quvela::spreadsheet {
namespace {

[[noreturn]] void saveFailed(const std::string &detail)
{
    throw QuvelaError(gbk::fromUtf8("保存工作簿失败（" + detail + "），原文件未被修改。"));
}

bool sameValue(const CellValue &a, const CellValue &b)
{
    return a.type == b.type && a.isDate == b.isDate && a.text == b.text
        && (a.number == b.number || (a.number != a.number && b.number != b.number));
}

// A stored result as the reader gives it back: a date format still marks a number.
bool sameResult(const CellValue &read, const CellValue &result)
{
    if (result.type == CellValue::Type::Text && result.text.empty())
        return read.type == CellValue::Type::Empty;
    return read.type == result.type && read.text == result.text && read.number == result.number;
}

} // namespace

XlsWorkbook::XlsWorkbook(const std::filesystem::path &file) : m_file(file), m_bytes(readXlsFileBytes(file))
{
    load();
}

XlsWorkbook::XlsWorkbook(std::string bytes) : m_bytes(std::move(bytes))
{
    load();
}

XlsWorkbook::~XlsWorkbook() = default;

void XlsWorkbook::load()
{
    m_cells = readXlsFirstSheet(std::string_view(m_bytes));
    m_editor.reset();
    const CompoundFile container(m_bytes);
    // Some writers name a BIFF8 stream "Book", as Excel 5.0 did; it is replaced by that name.
    m_streamName = "Workbook";
    std::optional<std::string> stream = container.readStream(m_streamName);
    if (!stream) {
        m_streamName = "Book";
        stream = container.readStream(m_streamName);
    }
    if (!stream)
        throw notAWorkbook();
    m_stream = std::move(*stream);
}

void XlsWorkbook::writeInteger(int row, int column, int32_t value)
{
    // Parsed for the first write only, so that a workbook that can be read but not
    // edited still imports.
    if (!m_editor)
        m_editor = std::make_unique<XlsSheetEditor>(m_stream);
    if (const auto reason = m_editor->refusal(row, column))
        throw QuvelaError(gbk::fromUtf8(*reason));
    m_writes[row][column] = value;
}

const int32_t *XlsWorkbook::pendingValue(int row, int column) const
{
    const auto r = m_writes.find(row);
    if (r == m_writes.end())
        return nullptr;
    const auto c = r->second.find(column);
    return c == r->second.end() ? nullptr : &c->second;
}

// The formulas that read the written cells, computed anew where the engine can.
std::vector<FormulaResult> XlsWorkbook::recalculate() const
{
    const std::vector<XlsSheetEditor::Formula> formulas = m_editor->formulas();
    if (formulas.empty())
        return {};
    FormulaEngine engine;
    const int rows = m_cells->lastRow();
    for (int row = 1; row <= rows; ++row) {
        const int columns = m_cells->lastColumn(row);
        for (int column = 1; column <= columns; ++column) {
            const CellValue value = m_cells->cell(row, column);
            if (value.type != CellValue::Type::Empty)
                engine.setValue({row, column}, value);
        }
    }
    for (const XlsSheetEditor::Formula &formula : formulas) {
        if (formula.text)
            engine.setFormula(formula.cell, *formula.text, m_cells->cell(formula.cell.row, formula.cell.column));
    }
    std::vector<CellPosition> changed;
    for (const auto &[row, columns] : m_writes) {
        for (const auto &[column, value] : columns) {
            CellValue number;
            number.type = CellValue::Type::Number;
            number.number = value;
            engine.setValue({row, column}, number);
            changed.push_back({row, column});
        }
    }
    return engine.recalculate(changed);
}

double XlsWorkbook::readBack(int32_t value, bool isDate) const
{
    // Days from 1899-12-30 to 1904-01-01.
    return value + (isDate && m_editor && m_editor->date1904() ? 1462.0 : 0.0);
}

std::string XlsWorkbook::buildFile(std::vector<FormulaResult> *recalculated) const
{
    std::vector<FormulaResult> results;
    if (m_editor)
        results = recalculate();
    const std::string stream = m_editor ? m_editor->apply(m_writes, results) : m_stream;
    if (recalculated)
        *recalculated = std::move(results);
    return rewriteCompoundFile(m_bytes, m_streamName, stream);
}

void XlsWorkbook::save()
{
    if (m_writes.empty())
        return; // nothing changed: the file on disk is already what a save would write
    std::string bytes;
    std::vector<FormulaResult> results;
    try {
        bytes = buildFile(&results);
    } catch (const QuvelaError &e) {
        saveFailed(gbk::toUtf8(e.message()));
    }

    // Every cell of the new file must read as before, except the written ones, which
    // must hold their numbers, and the formulas computed anew, which must hold their
    // new results.
    std::map<std::pair<int, int>, CellValue> recomputed;
    for (const FormulaResult &result : results) {
        if (result.value)
            recomputed[{result.cell.row, result.cell.column}] = *result.value;
    }
    try {
        const XlsWorkbook check{std::string(bytes)};
        const SheetData &now = check.cells();
        const int rows = std::max(now.lastRow(), m_cells->lastRow());
        for (int row = 1; row <= rows; ++row) {
            const int columns = std::max(now.lastColumn(row), m_cells->lastColumn(row));
            for (int column = 1; column <= columns; ++column) {
                const CellValue after = now.cell(row, column);
                if (const int32_t *value = pendingValue(row, column)) {
                    if (after.type != CellValue::Type::Number || after.number != readBack(*value, after.isDate))
                        throw QuvelaError(gbk::fromUtf8("写入后校验不一致：" + cellReference(row, column)));
                } else if (const auto result = recomputed.find({row, column}); result != recomputed.end()) {
                    if (!sameResult(after, result->second))
                        throw QuvelaError(gbk::fromUtf8("公式结果校验不一致：" + cellReference(row, column)));
                } else if (!sameValue(after, m_cells->cell(row, column))) {
                    throw QuvelaError(gbk::fromUtf8("未写入的单元格有变化：" + cellReference(row, column)));
                }
            }
        }
        for (const auto &[row, columns] : m_writes) {
            for (const auto &[column, value] : columns) {
                const CellValue after = now.cell(row, column);
                if (after.type != CellValue::Type::Number || after.number != readBack(value, after.isDate))
                    throw QuvelaError(gbk::fromUtf8("写入后校验不一致：" + cellReference(row, column)));
            }
        }
    } catch (const QuvelaError &e) {
        saveFailed("校验新文件失败：" + gbk::toUtf8(e.message()));
    }

    const std::filesystem::path temporary = temporarySibling(m_file);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            saveFailed("无法写入临时文件");
        }
    }
    replaceFile(temporary, m_file);
    m_bytes = std::move(bytes);
    m_writes.clear();
    load();
}

} // namespace quvela::spreadsheet
