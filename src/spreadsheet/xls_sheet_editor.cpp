#include "spreadsheet/xls_sheet_editor.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/xls_error.h"
#include "spreadsheet/xls_formula_references.h"
#include "spreadsheet/xls_formula_text.h"
#include "spreadsheet/xls_record_stream.h"
#include "spreadsheet/xls_sheet_data.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <set>

namespace quvela::spreadsheet {
namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kDateMode = 0x0022;
constexpr uint16_t kIndex = 0x020B;
constexpr uint16_t kDimensions = 0x0200;
constexpr uint16_t kDefColWidth = 0x0055;
constexpr uint16_t kDefaultRowHeight = 0x0225;
constexpr uint16_t kColInfo = 0x007D;
constexpr uint16_t kWindow2 = 0x023E;
constexpr uint16_t kMergedCells = 0x00E5;
constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kDbCell = 0x00D7;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kMulBlank = 0x00BE;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kSharedFormula = 0x04BC;
constexpr uint16_t kArray = 0x0221;
constexpr uint16_t kTable = 0x0236;
constexpr uint16_t kContinue = 0x003C;

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kWorksheetSubstream = 0x0010;
constexpr uint16_t kDefaultXf = 15;
constexpr std::size_t kRowsPerBlock = 32;
constexpr uint16_t kAlwaysCalc = 0x0001;

bool isCell(uint16_t type)
{
    switch (type) {
    case kBlank: case kMulBlank: case kNumber: case kRk: case kMulRk: case kLabel:
    case kLabelSst: case kRString: case kBoolErr: case kFormula:
        return true;
    default:
        return false;
    }
}

// Records that belong to the cell record before them.
bool isFollower(uint16_t type)
{
    return type == kString || type == kSharedFormula || type == kArray || type == kTable || type == kContinue;
}

void put16(std::string &out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string &out, uint32_t value)
{
    put16(out, static_cast<uint16_t>(value & 0xFFFF));
    put16(out, static_cast<uint16_t>(value >> 16));
}

void set16(std::string &bytes, std::size_t at, uint16_t value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void set32(std::string &bytes, std::size_t at, uint32_t value)
{
    set16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
    set16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

void header(std::string &out, uint16_t type, std::size_t length)
{
    put16(out, type);
    put16(out, static_cast<uint16_t>(length));
}

// An integer as Excel stores it: RK when it fits the 30 bits, NUMBER otherwise.
std::string numberRecord(int row, int column, uint16_t xf, int32_t value)
{
    std::string out;
    if (value >= -(1 << 29) && value < (1 << 29)) {
        header(out, kRk, 10);
        put16(out, static_cast<uint16_t>(row));
        put16(out, static_cast<uint16_t>(column));
        put16(out, xf);
        put32(out, static_cast<uint32_t>(value) << 2 | 0x02);
        return out;
    }
    header(out, kNumber, 14);
    put16(out, static_cast<uint16_t>(row));
    put16(out, static_cast<uint16_t>(column));
    put16(out, xf);
    const uint64_t bits = std::bit_cast<uint64_t>(static_cast<double>(value));
    put32(out, static_cast<uint32_t>(bits));
    put32(out, static_cast<uint32_t>(bits >> 32));
    return out;
}

// A run of cells of a MULRK (six bytes a cell) or MULBLANK (two bytes a cell) record,
// as one record: the single-cell form for one cell.
std::string runRecord(bool rk, int row, int firstColumn, std::string_view cellBytes)
{
    const std::size_t width = rk ? 6 : 2;
    const std::size_t count = cellBytes.size() / width;
    std::string out;
    if (count == 1) {
        header(out, rk ? kRk : kBlank, 4 + cellBytes.size());
        put16(out, static_cast<uint16_t>(row));
        put16(out, static_cast<uint16_t>(firstColumn));
        out.append(cellBytes);
        return out;
    }
    header(out, rk ? kMulRk : kMulBlank, 6 + cellBytes.size());
    put16(out, static_cast<uint16_t>(row));
    put16(out, static_cast<uint16_t>(firstColumn));
    out.append(cellBytes);
    put16(out, static_cast<uint16_t>(firstColumn + count - 1));
    return out;
}

struct Group
{
    int firstColumn = 0;
    int lastColumn = 0;
    std::string bytes; // the cell record and the records that belong to it
    std::size_t formulaOffset = SIZE_MAX; // of the original FORMULA record, if it is one
};

struct RowData
{
    std::string rowRecord; // empty when the file has none for the row
    std::vector<Group> cells;
};

struct Block
{
    // The records of the block in the original stream; begin == end for a new block.
    std::size_t begin = 0;
    std::size_t end = 0;
    bool hasDbCell = false;
    std::size_t dbCellOffset = 0; // original, when hasDbCell
    int minRow = 0;
    std::set<int> rowsPresent;
    // Filled when the block is edited; it is then written out again from these.
    bool touched = false;
    std::map<int, RowData> rows;
};

struct FormulaCell
{
    int row = 0;
    int column = 0;
    std::size_t offset = 0; // of the FORMULA record in the stream
    std::string_view tokens;
};

struct SharedTokens
{
    std::string_view tokens;
};

} // namespace

struct XlsSheetEditor::Parsed
{
    std::string_view stream;
    std::vector<std::size_t> sheetPositionFields; // of BOUNDSHEET positions, in the stream
    bool date1904 = false;
    std::size_t sheetBegin = 0;
    std::size_t sheetEnd = 0;
    std::vector<std::size_t> sheetRecords; // depth-one records of the sheet, after its BOF
    std::optional<std::size_t> index;
    std::optional<std::size_t> dimensions;
    std::optional<std::size_t> defColWidth;
    uint16_t defaultRowHeight = 0x00FF;
    struct Columns
    {
        int first;
        int last;
        uint16_t xf;
    };
    std::vector<Columns> columnFormats;
    std::size_t tableBegin = 0; // where the cell table starts (or would)
    std::size_t tableEnd = 0;
    std::vector<Block> blocks;
    std::map<int, std::size_t> rowBlock; // row -> index into blocks
    std::vector<FormulaCell> formulas;
    std::map<std::pair<int, int>, std::string_view> anchors; // shared and array formulas' tokens
    std::set<std::pair<int, int>> arrayAnchors;
    // Shared formulas by their first cell, which holds the tokens for the others.
    struct SharedFormula
    {
        std::string_view tokens;
        std::string_view trailing; // constants of array tokens, after the tokens
        std::vector<std::size_t> members; // into formulas: the cells that refer to it
        bool expandable = true;           // each member can have the tokens as its own
    };
    std::map<std::pair<int, int>, SharedFormula> shared;
    bool hasRowRecords = false;
    std::optional<std::string> unsafe; // why no cell may be written at all
    CellWriteGuard guard;
    // The stream positions of the INDEX records of the sheets after this one.
    std::vector<std::size_t> laterIndexes;

    void parseGlobals();
    void parseSheet();
    void addCell(Block &block, int row, const XlsRecord &record);
};

namespace {

std::vector<XlsRecord> readAll(std::string_view stream, std::size_t from, std::size_t to)
{
    std::vector<XlsRecord> records;
    XlsRecordStream walker(stream.substr(0, to), from);
    XlsRecord record;
    while (walker.next(record))
        records.push_back(record);
    return records;
}

} // namespace

void XlsSheetEditor::Parsed::parseGlobals()
{
    XlsRecordStream records(stream);
    XlsRecord record;
    if (!records.next(record) || record.type != kBof || record.data.size() < 4)
        throw damagedWorkbook("缺少工作簿开头记录");
    if (xlsU16(record.data, 0) < kBiff8)
        throw oldExcelFormat();
    std::optional<std::size_t> firstSheet;
    std::vector<std::size_t> allSheets;
    while (records.next(record) && record.type != kEof) {
        if (record.type == kFilePass)
            throw encryptedWorkbook();
        if (record.type == kDateMode && record.data.size() >= 2)
            date1904 = xlsU16(record.data, 0) != 0;
        if (record.type == kBoundSheet && record.data.size() >= 6) {
            sheetPositionFields.push_back(record.offset + 4);
            const uint32_t position = xlsU32(record.data, 0);
            allSheets.push_back(position);
            if (!firstSheet && static_cast<uint8_t>(record.data[5]) == 0)
                firstSheet = position;
        }
    }
    if (!firstSheet)
        throw WorkbookOpenError(gbk::fromUtf8("工作簿中没有工作表。"));
    sheetBegin = *firstSheet;
    if (sheetBegin >= stream.size())
        throw damagedWorkbook("工作表的位置超出文件范围");
    // The sheet runs to its own EOF; charts embedded in it nest their own BOF and EOF.
    XlsRecordStream sheet(stream, sheetBegin);
    if (!sheet.next(record) || record.type != kBof || record.data.size() < 4
        || xlsU16(record.data, 2) != kWorksheetSubstream)
        throw damagedWorkbook("工作表的位置无效");
    int depth = 1;
    while (depth > 0) {
        if (!sheet.next(record))
            throw damagedWorkbook("工作表没有结束记录");
        if (record.type == kBof)
            ++depth;
        else if (record.type == kEof)
            --depth;
        else if (depth == 1)
            sheetRecords.push_back(record.offset);
        if (depth == 0)
            sheetEnd = record.offset + 4 + record.data.size();
    }
    // Other sheets' row-block indexes hold stream positions, which move with this sheet.
    std::sort(allSheets.begin(), allSheets.end());
    allSheets.erase(std::unique(allSheets.begin(), allSheets.end()), allSheets.end()); // each moved once
    for (std::size_t position : allSheets) {
        if (position < sheetEnd || position >= stream.size())
            continue;
        XlsRecordStream other(stream, position);
        if (other.next(record) && record.type == kBof && other.next(record) && record.type == kIndex)
            laterIndexes.push_back(record.offset);
    }
}

void XlsSheetEditor::Parsed::addCell(Block &block, int row, const XlsRecord &)
{
    if (block.rowsPresent.empty() || row < block.minRow)
        block.minRow = row;
    block.rowsPresent.insert(row);
}

void XlsSheetEditor::Parsed::parseSheet()
{
    enum class State { Before, Inside, After } state = State::Before;
    Block current;
    bool currentOpen = false;
    bool sawCells = false;      // in the current block
    bool groupOpen = false;     // a cell record may still take followers
    std::optional<FormulaCell> lastFormula;
    std::optional<std::size_t> window2;

    auto closeBlock = [&](std::size_t end) {
        if (!currentOpen)
            return;
        current.end = end;
        if (current.end > current.begin)
            blocks.push_back(std::move(current));
        current = Block();
        currentOpen = false;
        sawCells = false;
        groupOpen = false;
    };
    auto openBlock = [&](std::size_t begin) {
        if (currentOpen)
            return;
        current = Block();
        current.begin = begin;
        currentOpen = true;
    };

    for (std::size_t offset : sheetRecords) {
        XlsRecordStream one(stream, offset);
        XlsRecord record;
        one.next(record);
        const std::string_view data = record.data;
        const std::size_t end = offset + 4 + data.size();
        const bool tableRecord = record.type == kRow || isCell(record.type) || record.type == kDbCell
                                 || (state == State::Inside && isFollower(record.type));
        if (tableRecord) {
            if (state == State::After) {
                unsafe = "工作表中的单元格记录不在一处，无法安全写入。请在 Excel 中打开并另存后重试。";
                continue;
            }
            if (state == State::Before) {
                state = State::Inside;
                tableBegin = offset;
            }
            tableEnd = end;
            if (record.type == kRow) {
                if (data.size() < 16)
                    throw damagedWorkbook("行记录过短");
                hasRowRecords = true;
                if (sawCells)
                    closeBlock(offset);
                openBlock(offset);
                addCell(current, xlsU16(data, 0), record);
                groupOpen = false;
            } else if (isCell(record.type)) {
                if (data.size() < 6)
                    throw damagedWorkbook("单元格记录过短");
                openBlock(offset);
                sawCells = true;
                groupOpen = true;
                const int row = xlsU16(data, 0);
                addCell(current, row, record);
                lastFormula.reset();
                if (record.type == kFormula) {
                    if (data.size() < 22 || 22u + xlsU16(data, 20) > data.size())
                        throw damagedWorkbook("公式记录过短");
                    lastFormula = FormulaCell{row, xlsU16(data, 2), offset, data.substr(22, xlsU16(data, 20))};
                    formulas.push_back(*lastFormula);
                }
            } else if (record.type == kDbCell) {
                openBlock(offset);
                current.hasDbCell = true;
                current.dbCellOffset = offset;
                closeBlock(end);
            } else { // a follower
                if (!groupOpen) {
                    unsafe = "工作表中有无法归属的单元格记录，无法安全写入。请在 Excel 中打开并另存后重试。";
                    continue;
                }
                if ((record.type == kSharedFormula || record.type == kArray || record.type == kTable)
                    && data.size() >= 6) {
                    const CellRange range{{xlsU16(data, 0) + 1, static_cast<uint8_t>(data[4]) + 1},
                                          {xlsU16(data, 2) + 1, static_cast<uint8_t>(data[5]) + 1}};
                    if (record.type == kSharedFormula && lastFormula) {
                        if (data.size() >= 10 && 10u + xlsU16(data, 8) <= data.size()) {
                            const std::size_t length = xlsU16(data, 8);
                            anchors[{lastFormula->row, lastFormula->column}] = data.substr(10, length);
                            shared[{lastFormula->row, lastFormula->column}] =
                                SharedFormula{data.substr(10, length), data.substr(10 + length), {}, true};
                        } else {
                            shared[{lastFormula->row, lastFormula->column}] = SharedFormula{{}, {}, {}, false};
                        }
                    } else if (record.type != kSharedFormula) {
                        // Array formulas and data tables are written as a whole or not at all.
                        guard.addArrayFormula(range);
                        if (record.type == kArray && lastFormula && data.size() >= 14
                            && 14u + xlsU16(data, 12) <= data.size()) {
                            anchors[{lastFormula->row, lastFormula->column}] = data.substr(14, xlsU16(data, 12));
                            arrayAnchors.insert({lastFormula->row, lastFormula->column});
                        }
                    }
                }
            }
            continue;
        }
        if (state == State::Inside) {
            closeBlock(offset);
            state = State::After;
        }
        switch (record.type) {
        case kIndex:
            if (data.size() < 16 || (data.size() - 16) % 4 != 0)
                throw damagedWorkbook("行块索引记录无效");
            index = offset;
            break;
        case kDimensions:
            if (data.size() >= 14)
                dimensions = offset;
            break;
        case kDefColWidth:
            defColWidth = offset;
            break;
        case kDefaultRowHeight:
            if (data.size() >= 4)
                defaultRowHeight = xlsU16(data, 2);
            break;
        case kColInfo:
            if (data.size() >= 8)
                columnFormats.push_back({xlsU16(data, 0), xlsU16(data, 2), xlsU16(data, 6)});
            break;
        case kWindow2:
            if (!window2)
                window2 = offset;
            break;
        case kMergedCells:
            for (std::size_t at = 2; at + 8 <= data.size(); at += 8) {
                CellRange range{{xlsU16(data, at) + 1, xlsU16(data, at + 4) + 1},
                                {xlsU16(data, at + 2) + 1, xlsU16(data, at + 6) + 1}};
                if (range.first.row > range.last.row)
                    std::swap(range.first.row, range.last.row);
                if (range.first.column > range.last.column)
                    std::swap(range.first.column, range.last.column);
                guard.addMerged(range);
            }
            break;
        default:
            break;
        }
    }
    if (state == State::Inside)
        closeBlock(tableEnd);
    if (state == State::Before) {
        // An empty sheet: the cells go where a writer puts them, after DIMENSIONS.
        if (dimensions)
            tableBegin = *dimensions + 4 + xlsU16(stream, *dimensions + 2);
        else if (window2)
            tableBegin = *window2;
        else
            tableBegin = sheetEnd - 4;
        tableEnd = tableBegin;
    }
    guard.finish();

    for (std::size_t i = 0; i < formulas.size(); ++i) {
        const FormulaCell &cell = formulas[i];
        if (cell.tokens.size() != 5 || static_cast<uint8_t>(cell.tokens[0]) != 0x01)
            continue;
        const std::pair<int, int> anchor{xlsU16(cell.tokens, 1), xlsU16(cell.tokens, 3) & 0xFF};
        const auto group = shared.find(anchor);
        if (group == shared.end() || anchor == std::make_pair(cell.row, cell.column))
            continue;
        group->second.members.push_back(i);
        if (!xlsStandaloneTokens(group->second.tokens, cell.row, cell.column))
            group->second.expandable = false;
    }

    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i > 0 && !blocks[i - 1].rowsPresent.empty() && !blocks[i].rowsPresent.empty()
            && blocks[i].minRow <= *blocks[i - 1].rowsPresent.rbegin())
            unsafe = "工作表中的行块顺序异常，无法安全写入。请在 Excel 中打开并另存后重试。";
        for (int row : blocks[i].rowsPresent) {
            if (!rowBlock.emplace(row, i).second)
                unsafe = "工作表中的行记录重复，无法安全写入。请在 Excel 中打开并另存后重试。";
        }
    }
}

XlsSheetEditor::XlsSheetEditor(std::string_view stream) : d(std::make_unique<Parsed>())
{
    d->stream = stream;
    d->parseGlobals();
    d->parseSheet();
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
    explicit Edit(const XlsSheetEditor::Parsed &parsed) : p(parsed), blocks(parsed.blocks), rowBlock(parsed.rowBlock) {}

    void write(int row, int column, int32_t value)
    {
        Block &block = blockFor(row);
        RowData &data = block.rows[row];
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

    void markDependents();
    std::string build();

    // The first cell of a shared formula is written over: each other cell of the group
    // gets the formula's tokens as its own, so that it keeps computing what it did.
    void expandShared(const XlsSheetEditor::Parsed::SharedFormula &group)
    {
        for (std::size_t index : group.members) {
            const FormulaCell &cell = p.formulas[index];
            const auto known = rowBlock.find(cell.row);
            if (known == rowBlock.end())
                continue;
            Block &block = explode(known->second);
            for (Group &g : block.rows[cell.row].cells) {
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
    Block &blockFor(int row)
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
            Block fresh;
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
        Block &block = explode(chosen);
        block.rowsPresent.insert(row);
        block.minRow = std::min(block.minRow, row);
        rowBlock[row] = chosen;
        return block;
    }

    bool usesDbCells() const
    {
        if (p.index)
            return true;
        return std::any_of(blocks.begin(), blocks.end(), [](const Block &b) { return b.hasDbCell; });
    }

    Block &explode(std::size_t i)
    {
        Block &block = blocks[i];
        if (block.touched)
            return block;
        block.touched = true;
        std::optional<int> groupRow;
        for (const XlsRecord &record : readAll(p.stream, block.begin, block.end)) {
            const std::string_view whole = p.stream.substr(record.offset, 4 + record.data.size());
            if (record.type == kRow) {
                block.rows[xlsU16(record.data, 0)].rowRecord = std::string(whole);
                groupRow.reset();
            } else if (isCell(record.type)) {
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
    uint16_t newCellFormat(const RowData &data, int column) const
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
    void dropDuplicates(std::vector<Group> &cells, int row, int column)
    {
        bool first = true;
        for (std::size_t i = 0; i < cells.size();) {
            if (column < cells[i].firstColumn || column > cells[i].lastColumn || first) {
                first = first && (column < cells[i].firstColumn || column > cells[i].lastColumn);
                ++i;
                continue;
            }
            const Group old = cells[i];
            const uint16_t type = xlsU16(old.bytes, 0);
            const std::size_t length = xlsU16(old.bytes, 2);
            std::vector<Group> kept;
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

    void setCell(RowData &data, int row, int column, int32_t value)
    {
        auto &cells = data.cells;
        dropDuplicates(cells, row, column);
        auto it = std::find_if(cells.begin(), cells.end(), [&](const Group &g) {
            return column >= g.firstColumn && column <= g.lastColumn;
        });
        if (it == cells.end()) {
            const auto after = std::find_if(cells.begin(), cells.end(),
                                            [&](const Group &g) { return g.firstColumn > column; });
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
        std::vector<Group> replacement;
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

    const XlsSheetEditor::Parsed &p;
public:
    std::vector<Block> blocks;
    std::map<int, std::size_t> rowBlock;
    std::map<int, std::set<int>> written; // and formulas marked for recalculation
    std::set<std::size_t> flagged;         // FORMULA records, by their original offset
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

uint8_t errorCode(const std::string &text)
{
    for (uint8_t code : {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A}) {
        if (XlsSheetData::errorText(code) == text)
            return code;
    }
    return 0x2A;
}

// UTF-8 as the file stores text: one byte a character when every character fits, two
// otherwise. Empty when the text is no valid UTF-8 or too long for one record.
std::optional<std::string> stringRecord(const std::string &utf8)
{
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size() + (extra == 0 ? 1 : 0))
            return std::nullopt;
        uint32_t point = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = point << 6 | (next & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (point >= 0x10000) {
            point -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(point));
        }
    }
    const bool narrow = std::all_of(units.begin(), units.end(), [](char16_t u) { return u < 0x100; });
    const std::size_t length = 3 + units.size() * (narrow ? 1 : 2);
    if (units.size() > 0xFFFF || length > 8224)
        return std::nullopt;
    std::string out;
    header(out, kString, length);
    put16(out, static_cast<uint16_t>(units.size()));
    out.push_back(narrow ? '\0' : '\1');
    for (char16_t u : units) {
        if (narrow)
            out.push_back(static_cast<char>(u));
        else
            put16(out, static_cast<uint16_t>(u));
    }
    return out;
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
        const FormulaCell *cell;
        XlsFormulaReferences references;
    };
    std::vector<Candidate> pending;
    for (const FormulaCell &cell : p.formulas) {
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
    for (const Block &block : blocks)
        dbCellCount += block.hasDbCell ? 1 : 0;
    std::optional<std::size_t> indexAt;
    std::optional<std::size_t> defColWidthAt;
    std::vector<std::size_t> dbCells;
    const bool wroteCells = maxRow >= 0;

    auto copyRecords = [&](std::size_t from, std::size_t to) {
        for (const XlsRecord &record : readAll(stream, from, to)) {
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
    for (Block &block : blocks) {
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
            for (Group &group : data.cells) {
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
    for (const FormulaCell &cell : d->formulas) {
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
            edit.results[{result.cell.row - 1, result.cell.column - 1}] = *result.value;
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
