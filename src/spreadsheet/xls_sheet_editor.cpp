#include "spreadsheet/xls_sheet_editor.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/xls_formula_references.h"
#include "spreadsheet/xls_formula_text.h"
#include "spreadsheet/xls_record_bytes.h"
#include "spreadsheet/xls_sheet_layout.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace quvela::spreadsheet {
namespace {

constexpr uint16_t kIndex = 0x020B;
constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kDbCell = 0x00D7;
constexpr uint16_t kMulBlank = 0x00BE;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kSharedFormula = 0x04BC;
constexpr uint16_t kContinue = 0x003C;

constexpr uint16_t kDefaultXf = 15;
constexpr std::size_t kRowsPerBlock = 32;
constexpr uint16_t kAlwaysCalc = 0x0001;

} // namespace

XlsSheetEditor::XlsSheetEditor(std::string_view stream) : d(std::make_unique<XlsSheetLayout>(stream))
{
}

XlsSheetEditor::~XlsSheetEditor() = default;

bool XlsSheetEditor::date1904() const
{
    return d->date1904;
}

std::optional<std::string> XlsSheetEditor::refusal(int row, int column) const
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        return "单元格 " + cellReference(row, column)
            + " 超出了 .xls 工作表的范围（最多 65536 行、256 列），不能写入。";
    if (d->unsafe)
        return d->unsafe;
    const auto group = d->shared.find({row - 1, column - 1});
    if (group != d->shared.end() && !group->second.expandable)
        return "单元格 " + cellReference(row, column) + " 是共享公式的主单元格，写入会破坏其他单元格的公式，不能写入。";
    return d->guard.refusal(row, column);
}

namespace {

// The edit of one call to apply: blocks are copied from the parse and changed here.
class Edit
{
public:
    explicit Edit(const XlsSheetLayout &parsed) : p(parsed), blocks(parsed.blocks), rowBlock(parsed.rowBlock) {}

    void write(int row, int column, int32_t value)
    {
        XlsRowBlock &block = blockFor(row);
        XlsRowData &data = block.rows[row];
        // A new row gets a ROW record as its neighbours have; a row that held cells
        // without one is left so.
        if (data.rowRecord.empty() && data.cells.empty() && p.hasRowRecords)
            data.rowRecord = newRowRecord(row);
        if (!data.rowRecord.empty()) {
            const uint16_t first = xlsU16(data.rowRecord, 6);
            const uint16_t last = xlsU16(data.rowRecord, 8);
            if (first == last) { // no cells yet
                set16(data.rowRecord, 6, static_cast<uint16_t>(column));
                set16(data.rowRecord, 8, static_cast<uint16_t>(column + 1));
            } else {
                set16(data.rowRecord, 6, std::min<uint16_t>(first, static_cast<uint16_t>(column)));
                set16(data.rowRecord, 8, std::max<uint16_t>(last, static_cast<uint16_t>(column + 1)));
            }
        }
        setCell(data, row, column, value);
        if (const auto group = p.shared.find({row, column}); group != p.shared.end())
            expandShared(group->second);
        written[row].insert(column);
        minRow = std::min(minRow, row);
        maxRow = std::max(maxRow, row);
        minColumn = std::min(minColumn, column);
        maxColumn = std::max(maxColumn, column);
    }

    // The result a formula cell (counting from 0) is to store.
    void setResult(int row, int column, const CellValue &value) { results[{row, column}] = value; }

    void markDependents();
    std::string build();

    // The first cell of a shared formula is written over: each other cell of the group
    // gets the formula's tokens as its own, so that it keeps computing what it did.
    void expandShared(const XlsSheetLayout::SharedFormula &group)
    {
        for (std::size_t index : group.members) {
            const XlsFormulaCell &cell = p.formulas[index];
            const auto known = rowBlock.find(cell.row);
            if (known == rowBlock.end())
                continue;
            XlsRowBlock &block = explode(known->second);
            for (XlsCellGroup &g : block.rows[cell.row].cells) {
                if (g.formulaOffset != cell.offset)
                    continue;
                const auto tokens = xlsStandaloneTokens(group.tokens, cell.row, cell.column);
                if (!tokens)
                    continue; // refused before any write
                const std::size_t length = 4 + xlsU16(g.bytes, 2);
                std::string data = g.bytes.substr(4, 20);
                set16(data, 14, static_cast<uint16_t>(xlsU16(data, 14) & ~0x0008)); // no longer shared
                put16(data, static_cast<uint16_t>(tokens->size()));
                data += *tokens;
                data.append(group.trailing);
                if (data.size() > 8224)
                    throw QuvelaError(gbk::fromUtf8("共享公式展开后超出了 .xls 记录的长度限制，无法写入。"));
                std::string record;
                header(record, kFormula, data.size());
                g.bytes = record + data + g.bytes.substr(length);
            }
        }
    }
    static void setStoredResult(std::string &group, const CellValue &value);

private:
    XlsRowBlock &blockFor(int row)
    {
        const auto known = rowBlock.find(row);
        if (known != rowBlock.end())
            return explode(known->second);
        // The last block starting at or before the row, or the first one.
        std::size_t at = 0;
        while (at < blocks.size() && blocks[at].minRow <= row)
            ++at;
        auto fits = [&](std::size_t i) {
            return i < blocks.size() && blocks[i].rowsPresent.size() < kRowsPerBlock
                && blocks[i].minRow / static_cast<int>(kRowsPerBlock) == row / static_cast<int>(kRowsPerBlock);
        };
        std::size_t chosen;
        if (at > 0 && fits(at - 1)) {
            chosen = at - 1;
        } else if (fits(at)) {
            chosen = at;
        } else {
            XlsRowBlock fresh;
            fresh.begin = fresh.end = at < blocks.size() ? blocks[at].begin
                                      : blocks.empty()   ? p.tableBegin
                                                         : blocks.back().end;
            fresh.hasDbCell = usesDbCells();
            fresh.minRow = row;
            fresh.touched = true;
            blocks.insert(blocks.begin() + static_cast<std::ptrdiff_t>(at), std::move(fresh));
            for (auto &[r, i] : rowBlock) {
                if (i >= at)
                    ++i;
            }
            chosen = at;
        }
        XlsRowBlock &block = explode(chosen);
        block.rowsPresent.insert(row);
        block.minRow = std::min(block.minRow, row);
        rowBlock[row] = chosen;
        return block;
    }

    bool usesDbCells() const
    {
        if (p.index)
            return true;
        return std::any_of(blocks.begin(), blocks.end(), [](const XlsRowBlock &b) { return b.hasDbCell; });
    }

    XlsRowBlock &explode(std::size_t i)
    {
        XlsRowBlock &block = blocks[i];
        if (block.touched)
            return block;
        block.touched = true;
        std::optional<int> groupRow;
        for (const XlsRecord &record : xlsRecords(p.stream, block.begin, block.end)) {
            const std::string_view whole = p.stream.substr(record.offset, 4 + record.data.size());
            if (record.type == kRow) {
                block.rows[xlsU16(record.data, 0)].rowRecord = std::string(whole);
                groupRow.reset();
            } else if (isXlsCell(record.type)) {
                const int row = xlsU16(record.data, 0);
                const int first = xlsU16(record.data, 2);
                int last = first;
                if ((record.type == kMulRk || record.type == kMulBlank) && record.data.size() >= 8)
                    last = xlsU16(record.data, record.data.size() - 2);
                block.rows[row].cells.push_back({first, std::max(first, last), std::string(whole),
                                                 record.type == kFormula ? record.offset : SIZE_MAX});
                groupRow = row;
            } else if (record.type != kDbCell && groupRow) {
                block.rows[*groupRow].cells.back().bytes.append(whole);
            }
        }
        return block;
    }

    std::string newRowRecord(int row) const
    {
        std::string out;
        header(out, kRow, 16);
        put16(out, static_cast<uint16_t>(row));
        put16(out, 0);
        put16(out, 0);
        put16(out, p.defaultRowHeight);
        put16(out, 0);
        put16(out, 0);
        put16(out, 0x0100); // a reserved bit that must be set
        put16(out, kDefaultXf);
        return out;
    }

    // A new cell takes the format of its row when the row has one, else of its column.
    uint16_t newCellFormat(const XlsRowData &data, int column) const
    {
        if (!data.rowRecord.empty() && (xlsU16(data.rowRecord, 16) & 0x0080))
            return xlsU16(data.rowRecord, 18) & 0x0FFF;
        for (const auto &columns : p.columnFormats) {
            if (column >= columns.first && column <= columns.last)
                return columns.xf;
        }
        return kDefaultXf;
    }

    // A damaged file may hold a cell twice, and readers take the later one: every
    // record of the cell but the first loses it, so that the written number counts.
    void dropDuplicates(std::vector<XlsCellGroup> &cells, int row, int column)
    {
        bool first = true;
        for (std::size_t i = 0; i < cells.size();) {
            if (column < cells[i].firstColumn || column > cells[i].lastColumn || first) {
                first = first && (column < cells[i].firstColumn || column > cells[i].lastColumn);
                ++i;
                continue;
            }
            const XlsCellGroup old = cells[i];
            const uint16_t type = xlsU16(old.bytes, 0);
            const std::size_t length = xlsU16(old.bytes, 2);
            std::vector<XlsCellGroup> kept;
            if (type == kMulRk || type == kMulBlank) {
                const bool rk = type == kMulRk;
                const std::size_t width = rk ? 6 : 2;
                const std::size_t count = static_cast<std::size_t>(old.lastColumn - old.firstColumn + 1);
                if (length != 6 + width * count)
                    throw QuvelaError(gbk::fromUtf8("工作表中有损坏的单元格记录（" + cellReference(row + 1, column + 1)
                                                    + "），无法写入。"));
                const std::string_view run = std::string_view(old.bytes).substr(8, width * count);
                const std::size_t k = static_cast<std::size_t>(column - old.firstColumn);
                if (k > 0)
                    kept.push_back({old.firstColumn, column - 1, runRecord(rk, row, old.firstColumn, run.substr(0, width * k)),
                                    SIZE_MAX});
                if (column < old.lastColumn)
                    kept.push_back({column + 1, old.lastColumn,
                                    runRecord(rk, row, column + 1, run.substr(width * (k + 1))), SIZE_MAX});
            }
            cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(i));
            cells.insert(cells.begin() + static_cast<std::ptrdiff_t>(i), kept.begin(), kept.end());
            i += kept.size();
        }
    }

    void setCell(XlsRowData &data, int row, int column, int32_t value)
    {
        auto &cells = data.cells;
        dropDuplicates(cells, row, column);
        auto it = std::find_if(cells.begin(), cells.end(), [&](const XlsCellGroup &g) {
            return column >= g.firstColumn && column <= g.lastColumn;
        });
        if (it == cells.end()) {
            const auto after = std::find_if(cells.begin(), cells.end(),
                                            [&](const XlsCellGroup &g) { return g.firstColumn > column; });
            cells.insert(after, {column, column, numberRecord(row, column, newCellFormat(data, column), value),
                                 SIZE_MAX});
            return;
        }
        const std::string old = std::move(it->bytes);
        const uint16_t type = xlsU16(old, 0);
        const std::size_t length = xlsU16(old, 2);
        const std::string_view record = std::string_view(old).substr(4, length);
        // The records after the cell's own: a formula's cached text, its continuations
        // and the tokens it shared with other cells (given to them, see expandShared) go
        // with it; anything else stays.
        std::string kept;
        for (std::size_t at = 4 + length; at + 4 <= old.size();) {
            const uint16_t t = xlsU16(old, at);
            const std::size_t n = 4 + xlsU16(old, at + 2);
            if (t != kString && t != kContinue && t != kSharedFormula)
                kept.append(old, at, n);
            at += n;
        }
        if (type != kMulRk && type != kMulBlank) {
            it->bytes = numberRecord(row, column, xlsU16(record, 4), value) + kept;
            it->firstColumn = it->lastColumn = column;
            it->formulaOffset = SIZE_MAX;
            return;
        }
        const bool rk = type == kMulRk;
        const std::size_t width = rk ? 6 : 2;
        const int first = it->firstColumn;
        const int last = it->lastColumn;
        const std::size_t count = static_cast<std::size_t>(last - first + 1);
        if (record.size() != 6 + width * count)
            throw QuvelaError(gbk::fromUtf8("工作表中有损坏的单元格记录（" + cellReference(row + 1, column + 1)
                                            + "），无法写入。"));
        const std::string_view cellsBytes = record.substr(4, width * count);
        const std::size_t k = static_cast<std::size_t>(column - first);
        std::vector<XlsCellGroup> replacement;
        if (k > 0)
            replacement.push_back({first, column - 1, runRecord(rk, row, first, cellsBytes.substr(0, width * k)),
                                   SIZE_MAX});
        replacement.push_back({column, column,
                               numberRecord(row, column, xlsU16(cellsBytes, width * k), value), SIZE_MAX});
        if (column < last)
            replacement.push_back({column + 1, last,
                                   runRecord(rk, row, column + 1, cellsBytes.substr(width * (k + 1))),
                                   SIZE_MAX});
        replacement.back().bytes += kept;
        const auto position = cells.erase(it);
        cells.insert(position, replacement.begin(), replacement.end());
    }

    const XlsSheetLayout &p;
    std::vector<XlsRowBlock> blocks;
    std::map<int, std::size_t> rowBlock;
    std::map<int, std::set<int>> written;  // row -> columns, counting from 0
    std::set<std::size_t> flagged;         // FORMULA records to recalculate, by their original offset
    std::map<std::pair<int, int>, CellValue> results; // new stored results of formula cells
    int minRow = XlsSheetEditor::kMaxRows;
    int maxRow = -1;
    int minColumn = XlsSheetEditor::kMaxColumns;
    int maxColumn = -1;
};


void setAlwaysCalc(std::string &bytes, std::size_t recordAt)
{
    set16(bytes, recordAt + 4 + 14, static_cast<uint16_t>(xlsU16(bytes, recordAt + 4 + 14) | kAlwaysCalc));
}

// The stored result of a FORMULA record (the first record of group) and the STRING
// record that holds a text result.
void Edit::setStoredResult(std::string &group, const CellValue &value)
{
    const std::size_t formulaLength = 4 + xlsU16(group, 2);
    std::string rest;
    for (std::size_t at = formulaLength; at + 4 <= group.size();) {
        const std::size_t n = 4 + xlsU16(group, at + 2);
        if (xlsU16(group, at) != kString && xlsU16(group, at) != kContinue)
            rest.append(group, at, n);
        at += n;
    }
    std::string text;
    unsigned char result[8] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    switch (value.type) {
    case CellValue::Type::Number: {
        if (!std::isfinite(value.number))
            return;
        const uint64_t bits = std::bit_cast<uint64_t>(value.number);
        for (int i = 0; i < 8; ++i)
            result[i] = static_cast<unsigned char>(bits >> (8 * i));
        break;
    }
    case CellValue::Type::Text: {
        if (value.text.empty()) {
            result[0] = 3;
            break;
        }
        const auto record = stringRecord(value.text);
        if (!record)
            return; // left as it was; the recalculation flag stays
        text = *record;
        break;
    }
    case CellValue::Type::Boolean:
        result[0] = 1;
        result[2] = value.number != 0 ? 1 : 0;
        break;
    case CellValue::Type::Error:
        result[0] = 2;
        result[2] = errorCode(value.text);
        break;
    case CellValue::Type::Empty:
        result[0] = 3;
        break;
    }
    std::string rebuilt = group.substr(0, formulaLength);
    for (int i = 0; i < 8; ++i)
        rebuilt[4 + 6 + static_cast<std::size_t>(i)] = static_cast<char>(result[i]);
    // The text follows the formula; the shared-formula or array record, if any, before it.
    group = rebuilt + rest + text;
}

// Formulas that read a written cell, or a formula so marked, are marked in turn; a
// formula whose references cannot be followed is marked as well.
void Edit::markDependents()
{
    if (written.empty() || p.formulas.empty())
        return;
    std::map<int, std::set<int>> changed = written;
    auto touches = [&](const XlsArea &area) {
        for (auto row = changed.lower_bound(area.firstRow); row != changed.end() && row->first <= area.lastRow;
             ++row) {
            const auto column = row->second.lower_bound(area.firstColumn);
            if (column != row->second.end() && *column <= area.lastColumn)
                return true;
        }
        return false;
    };
    struct Candidate
    {
        const XlsFormulaCell *cell;
        XlsFormulaReferences references;
    };
    std::vector<Candidate> pending;
    for (const XlsFormulaCell &cell : p.formulas) {
        const auto row = written.find(cell.row);
        if (row != written.end() && row->second.count(cell.column))
            continue; // written over: the formula is gone
        XlsFormulaReferences references = xlsFormulaReferences(cell.tokens, cell.row, cell.column);
        if (references.isExp) {
            const auto anchor = p.anchors.find({references.expRow, references.expColumn});
            if (anchor == p.anchors.end()) {
                references.unknown = true;
            } else {
                XlsFormulaReferences shared = xlsFormulaReferences(anchor->second, cell.row, cell.column);
                references.unknown = references.unknown || shared.unknown;
                references.areas.insert(references.areas.end(), shared.areas.begin(), shared.areas.end());
            }
        }
        pending.push_back({&cell, std::move(references)});
    }
    // Chains of formulas are short in rosters (a cell, its row's total, the column's
    // total, a grand total); past a few steps every remaining formula is marked, which
    // keeps the time bounded on any file.
    constexpr int kMaxPasses = 8;
    bool progress = true;
    for (int pass = 0; progress && pass < kMaxPasses; ++pass) {
        progress = false;
        std::vector<Candidate> still;
        for (Candidate &candidate : pending) {
            const bool reads = candidate.references.unknown
                || std::any_of(candidate.references.areas.begin(), candidate.references.areas.end(), touches);
            if (reads) {
                flagged.insert(candidate.cell->offset);
                changed[candidate.cell->row].insert(candidate.cell->column);
                progress = true;
            } else {
                still.push_back(std::move(candidate));
            }
        }
        pending = std::move(still);
    }
    if (progress) {
        for (const Candidate &candidate : pending)
            flagged.insert(candidate.cell->offset);
    }
    // Formulas given a new result are rewritten with their block.
    for (const auto &[cell, value] : results) {
        const auto block = rowBlock.find(cell.first);
        if (block != rowBlock.end())
            explode(block->second);
    }
}

std::string Edit::build()
{
    const std::string_view stream = p.stream;
    std::string out;
    out.reserve(stream.size() + stream.size() / 8 + 1024);
    out.append(stream.substr(0, p.sheetBegin));

    std::size_t dbCellCount = 0;
    for (const XlsRowBlock &block : blocks)
        dbCellCount += block.hasDbCell ? 1 : 0;
    std::optional<std::size_t> indexAt;
    std::optional<std::size_t> defColWidthAt;
    std::vector<std::size_t> dbCells;
    const bool wroteCells = maxRow >= 0;

    auto copyRecords = [&](std::size_t from, std::size_t to) {
        for (const XlsRecord &record : xlsRecords(stream, from, to)) {
            const std::string_view whole = stream.substr(record.offset, 4 + record.data.size());
            if (p.index && record.offset == *p.index) {
                indexAt = out.size();
                header(out, kIndex, 16 + 4 * dbCellCount);
                out.append(record.data.substr(0, 16));
                out.append(4 * dbCellCount, '\0');
                if (16 + 4 * dbCellCount > 8224)
                    throw QuvelaError(gbk::fromUtf8("工作表的行块过多，超出了 .xls 格式的限制，无法写入。"));
            } else if (p.dimensions && record.offset == *p.dimensions && wroteCells) {
                const std::size_t at = out.size();
                out.append(whole);
                const uint32_t firstRow = xlsU32(record.data, 0);
                const uint32_t endRow = xlsU32(record.data, 4);
                const uint16_t firstColumn = xlsU16(record.data, 8);
                const uint16_t endColumn = xlsU16(record.data, 10);
                const bool empty = endRow == 0 || endColumn == 0;
                set32(out, at + 4, empty ? minRow : std::min<uint32_t>(firstRow, minRow));
                set32(out, at + 8, empty ? maxRow + 1 : std::max<uint32_t>(endRow, maxRow + 1));
                set16(out, at + 12, empty ? minColumn : std::min<uint16_t>(firstColumn, minColumn));
                set16(out, at + 14, empty ? maxColumn + 1 : std::max<uint16_t>(endColumn, maxColumn + 1));
            } else {
                if (p.defColWidth && record.offset == *p.defColWidth)
                    defColWidthAt = out.size();
                out.append(whole);
            }
        }
    };

    copyRecords(p.sheetBegin, p.tableBegin);
    for (XlsRowBlock &block : blocks) {
        if (!block.touched) {
            const std::size_t base = out.size();
            out.append(stream.substr(block.begin, block.end - block.begin));
            for (std::size_t offset : flagged) {
                if (offset >= block.begin && offset < block.end)
                    setAlwaysCalc(out, base + offset - block.begin);
            }
            if (block.hasDbCell)
                dbCells.push_back(base + block.dbCellOffset - block.begin);
            continue;
        }
        std::optional<std::size_t> firstRowAt;
        for (const auto &[row, data] : block.rows) {
            if (data.rowRecord.empty())
                continue;
            if (!firstRowAt)
                firstRowAt = out.size();
            out.append(data.rowRecord);
        }
        std::vector<std::size_t> firstCells;
        for (auto &[row, data] : block.rows) {
            if (data.cells.empty())
                continue;
            firstCells.push_back(out.size());
            for (XlsCellGroup &group : data.cells) {
                if (group.formulaOffset != SIZE_MAX && flagged.count(group.formulaOffset)) {
                    setAlwaysCalc(group.bytes, 0);
                    const auto result = results.find({row, group.firstColumn});
                    if (result != results.end())
                        setStoredResult(group.bytes, result->second);
                }
                out.append(group.bytes);
            }
        }
        if (!block.hasDbCell)
            continue;
        const std::size_t at = out.size();
        header(out, kDbCell, 4 + 2 * firstCells.size());
        put32(out, firstRowAt ? static_cast<uint32_t>(at - *firstRowAt) : 0);
        // The first cell of each row: the first from the end of the first ROW record,
        // each further one from the one before.
        std::size_t reference = firstRowAt ? *firstRowAt + 20 : (firstCells.empty() ? 0 : firstCells.front());
        for (std::size_t cell : firstCells) {
            if (cell < reference || cell - reference > 0xFFFF)
                throw QuvelaError(gbk::fromUtf8("工作表中一行的单元格过多，超出了 .xls 格式的限制，无法写入。"));
            put16(out, static_cast<uint16_t>(cell - reference));
            reference = cell;
        }
        dbCells.push_back(at);
    }
    copyRecords(p.tableEnd, p.sheetEnd);
    const std::size_t newSheetEnd = out.size();
    out.append(stream.substr(p.sheetEnd));
    if (out.size() > UINT32_MAX)
        throw QuvelaError(gbk::fromUtf8("工作簿过大，超出了 .xls 格式的限制，无法写入。"));
    const int64_t delta = static_cast<int64_t>(newSheetEnd) - static_cast<int64_t>(p.sheetEnd);
    auto moved = [&](uint32_t position) {
        return position >= p.sheetEnd ? static_cast<uint32_t>(position + delta) : position;
    };

    for (std::size_t field : p.sheetPositionFields)
        set32(out, field, moved(xlsU32(out, field)));
    if (wroteCells) {
        for (std::size_t original : p.otherSheetFormulas)
            setAlwaysCalc(out, original >= p.sheetEnd ? static_cast<std::size_t>(static_cast<int64_t>(original) + delta)
                                                      : original);
    }
    for (std::size_t original : p.laterIndexes) {
        const std::size_t at = static_cast<std::size_t>(static_cast<int64_t>(original) + delta);
        const std::size_t length = xlsU16(out, at + 2);
        if (length < 16)
            continue;
        set32(out, at + 4 + 12, moved(xlsU32(out, at + 4 + 12)));
        for (std::size_t entry = at + 4 + 16; entry + 4 <= at + 4 + length; entry += 4)
            set32(out, entry, moved(xlsU32(out, entry)));
    }
    if (indexAt) {
        const std::size_t data = *indexAt + 4;
        const uint32_t firstRow = xlsU32(out, data + 4);
        const uint32_t endRow = xlsU32(out, data + 8);
        if (wroteCells) {
            const bool empty = endRow == 0;
            set32(out, data + 4, empty ? minRow : std::min<uint32_t>(firstRow, minRow));
            set32(out, data + 8, empty ? maxRow + 1 : std::max<uint32_t>(endRow, maxRow + 1));
        }
        if (defColWidthAt)
            set32(out, data + 12, static_cast<uint32_t>(*defColWidthAt));
        for (std::size_t i = 0; i < dbCells.size(); ++i)
            set32(out, data + 16 + 4 * i, static_cast<uint32_t>(dbCells[i]));
    }
    return out;
}

} // namespace

std::vector<XlsSheetEditor::Formula> XlsSheetEditor::formulas() const
{
    std::vector<Formula> out;
    out.reserve(d->formulas.size());
    // What the texts of one sheet may cost to make: far above any roster's (a few
    // megabytes), it bounds the work on a file of long formulas made to be slow.
    std::size_t budget = std::size_t(256) << 20;
    for (const XlsFormulaCell &cell : d->formulas) {
        // A column past the sheet's 256 comes only from damage; the reader drops such cells.
        if (cell.column >= kMaxColumns)
            continue;
        Formula formula{{cell.row + 1, cell.column + 1}, std::nullopt};
        const XlsFormulaReferences references = xlsFormulaReferences(cell.tokens, cell.row, cell.column);
        if (references.isExp) {
            // Array formulas are not computed cell by cell; shared ones are.
            const auto anchor = d->anchors.find({references.expRow, references.expColumn});
            if (anchor != d->anchors.end() && !d->arrayAnchors.count(anchor->first)
                && cell.tokens.size() == 5)
                formula.text = xlsFormulaText(anchor->second, cell.row, cell.column, budget);
        } else {
            formula.text = xlsFormulaText(cell.tokens, cell.row, cell.column, budget);
        }
        out.push_back(std::move(formula));
    }
    return out;
}

std::string XlsSheetEditor::apply(const PendingWrites &writes, const std::vector<FormulaResult> &results) const
{
    Edit edit(*d);
    for (const FormulaResult &result : results) {
        if (result.value)
            edit.setResult(result.cell.row - 1, result.cell.column - 1, *result.value);
    }
    for (const auto &[row, columns] : writes) {
        for (const auto &[column, value] : columns) {
            if (const auto reason = refusal(row, column))
                throw QuvelaError(gbk::fromUtf8(*reason));
            edit.write(row - 1, column - 1, value);
        }
    }
    edit.markDependents();
    return edit.build();
}

} // namespace quvela::spreadsheet
