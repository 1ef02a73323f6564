#include "spreadsheet/xls_sheet_layout.h"

#include "common/gbk.h"
#include "spreadsheet/xls_error.h"
#include "spreadsheet/xls_formula_references.h"

#include <algorithm>

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

void noteRow(XlsRowBlock &block, int row)
{
    if (block.rowsPresent.empty() || row < block.minRow)
        block.minRow = row;
    block.rowsPresent.insert(row);
}

} // namespace

bool isXlsCell(uint16_t type)
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
bool isXlsCellFollower(uint16_t type)
{
    return type == kString || type == kSharedFormula || type == kArray || type == kTable || type == kContinue;
}

std::vector<XlsRecord> xlsRecords(std::string_view stream, std::size_t from, std::size_t to)
{
    std::vector<XlsRecord> records;
    XlsRecordStream walker(stream.substr(0, to), from);
    XlsRecord record;
    while (walker.next(record))
        records.push_back(record);
    return records;
}

XlsSheetLayout::XlsSheetLayout(std::string_view workbookStream) : stream(workbookStream)
{
    parseGlobals();
    parseSheet();
}

void XlsSheetLayout::parseGlobals()
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
        try {
            if (other.next(record) && record.type == kBof && other.next(record) && record.type == kIndex)
                laterIndexes.push_back(record.offset);
        } catch (const WorkbookOpenError &) {
            // A damaged other sheet has no index to move.
        }
    }
    // Formulas of the other sheets that may read this one: through a reference into
    // another sheet or a name. Which sheet they read is not followed.
    for (std::size_t position : allSheets) {
        if ((position >= sheetBegin && position < sheetEnd) || position >= stream.size())
            continue;
        XlsRecordStream other(stream, position);
        if (!other.next(record) || record.type != kBof)
            continue;
        int level = 1;
        // A damaged other sheet ends its walk; this sheet is still written.
        auto next = [&] {
            try {
                return other.next(record);
            } catch (const WorkbookOpenError &) {
                return false;
            }
        };
        while (level > 0 && next()) {
            if (record.type == kBof)
                ++level;
            else if (record.type == kEof)
                --level;
            else if (level == 1 && record.type == kFormula && record.data.size() >= 22
                     && 22u + xlsU16(record.data, 20) <= record.data.size()
                     && xlsFormulaReferences(record.data.substr(22, xlsU16(record.data, 20)), 0, 0).unknown)
                otherSheetFormulas.push_back(record.offset);
        }
    }
}

void XlsSheetLayout::parseSheet()
{
    enum class State { Before, Inside, After } state = State::Before;
    XlsRowBlock current;
    bool currentOpen = false;
    bool sawCells = false;      // in the current block
    bool groupOpen = false;     // a cell record may still take followers
    std::optional<XlsFormulaCell> lastFormula;
    std::optional<std::size_t> window2;

    auto closeBlock = [&](std::size_t end) {
        if (!currentOpen)
            return;
        current.end = end;
        if (current.end > current.begin)
            blocks.push_back(std::move(current));
        current = XlsRowBlock();
        currentOpen = false;
        sawCells = false;
        groupOpen = false;
    };
    auto openBlock = [&](std::size_t begin) {
        if (currentOpen)
            return;
        current = XlsRowBlock();
        current.begin = begin;
        currentOpen = true;
    };

    for (std::size_t offset : sheetRecords) {
        XlsRecordStream one(stream, offset);
        XlsRecord record;
        one.next(record);
        const std::string_view data = record.data;
        const std::size_t end = offset + 4 + data.size();
        const bool tableRecord = record.type == kRow || isXlsCell(record.type) || record.type == kDbCell
                                 || (state == State::Inside && isXlsCellFollower(record.type));
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
                noteRow(current, xlsU16(data, 0));
                groupOpen = false;
            } else if (isXlsCell(record.type)) {
                if (data.size() < 6)
                    throw damagedWorkbook("单元格记录过短");
                openBlock(offset);
                sawCells = true;
                groupOpen = true;
                const int row = xlsU16(data, 0);
                noteRow(current, row);
                lastFormula.reset();
                if (record.type == kFormula) {
                    if (data.size() < 22 || 22u + xlsU16(data, 20) > data.size())
                        throw damagedWorkbook("公式记录过短");
                    lastFormula = XlsFormulaCell{row, xlsU16(data, 2), offset, data.substr(22, xlsU16(data, 20))};
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
        const XlsFormulaCell &cell = formulas[i];
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

} // namespace quvela::spreadsheet
