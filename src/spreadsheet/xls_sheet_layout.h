// Where things are in the first worksheet of a BIFF8 workbook stream: its row blocks
// and cells, its index and extent records, its formulas, and the positions elsewhere
// that change when the sheet grows or shrinks. What the edits of XlsSheetEditor work
// from.
#pragma once

#include "spreadsheet/cell_write_guard.h"
#include "spreadsheet/xls_record_stream.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

// A cell record with the records that belong to it.
struct XlsCellGroup
{
    int firstColumn = 0;
    int lastColumn = 0;
    std::string bytes; // the cell record and the records that belong to it
    std::size_t formulaOffset = SIZE_MAX; // of the original FORMULA record, if it is one
};

struct XlsRowData
{
    std::string rowRecord; // empty when the file has none for the row
    std::vector<XlsCellGroup> cells;
};

struct XlsRowBlock
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
    std::map<int, XlsRowData> rows;
};

struct XlsFormulaCell
{
    int row = 0;
    int column = 0;
    std::size_t offset = 0; // of the FORMULA record in the stream
    std::string_view tokens;
};

struct XlsSheetLayout
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
    std::vector<XlsRowBlock> blocks;
    std::map<int, std::size_t> rowBlock; // row -> index into blocks
    std::vector<XlsFormulaCell> formulas;
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
    // The FORMULA records of the other sheets that may read this one.
    std::vector<std::size_t> otherSheetFormulas;

    // Reads the layout. The stream is not copied. Throws WorkbookOpenError when it is
    // damaged, encrypted or older than BIFF8, or has no worksheet.
    explicit XlsSheetLayout(std::string_view workbookStream);

private:
    void parseGlobals();
    void parseSheet();
};

// The records from..to of the stream; throws WorkbookOpenError when one runs past to.
std::vector<XlsRecord> xlsRecords(std::string_view stream, std::size_t from, std::size_t to);

// Cell records, and the records that follow a cell record and belong to it.
bool isXlsCell(uint16_t type);
bool isXlsCellFollower(uint16_t type);


} // namespace quvela::spreadsheet
