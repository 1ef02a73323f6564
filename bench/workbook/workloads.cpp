// The workbook workloads the benchmark times, each a whole process:
//   bench_workbook read FILE   every cell of the first worksheet read as the tools do
//                              (open, bind, the text of each cell up to each row's last)
//   bench_workbook write FILE  the XJ write-back's load: five integer cells in each data
//                              row (7 to the last), then a save in place
// What was done goes to stderr, so that counts can be held against another reader's.
#include "common/gbk.h"
#include "spreadsheet/spreadsheet_session.h"

#include <cstdio>
#include <cstring>

namespace {

using quvela::GbkString;
using quvela::spreadsheet::SpreadsheetSession;

void readAll(SpreadsheetSession &session, const char *file)
{
    std::size_t cells = 0;
    std::size_t nonEmpty = 0;
    std::size_t bytes = 0;
    const int lastRow = session.lastRow();
    for (int row = 1; row <= lastRow; ++row) {
        const int lastColumn = session.lastColumn(row);
        for (int column = 1; column <= lastColumn; ++column) {
            const GbkString text = session.readCellText(row, column);
            ++cells;
            nonEmpty += !text.empty();
            bytes += text.size();
        }
    }
    session.end();
    std::fprintf(stderr, "read %s rows=%d cells=%zu nonempty=%zu gbk_bytes=%zu\n", file, lastRow, cells, nonEmpty,
                 bytes);
}

void writeBack(SpreadsheetSession &session, const char *file)
{
    const int lastRow = session.lastRow();
    int written = 0;
    // The same cells and values as the openpyxl workload it is compared with.
    for (int row = 7; row <= lastRow; ++row) {
        session.writeCellInteger(row, 29, row % 5000);
        session.writeCellInteger(row, 30, (row * 7) % 5000);
        session.writeCellInteger(row, 31, (row * 13) % 5000);
        session.writeCellInteger(row, 35, row % 20 + 1);
        session.writeCellInteger(row, 28, row & 1);
        written += 5;
    }
    session.closeWithSave();
    std::fprintf(stderr, "write %s cells_set=%d\n", file, written);
}

} // namespace

int main(int argc, char **argv)
{
    const bool read = argc == 3 && std::strcmp(argv[1], "read") == 0;
    const bool write = argc == 3 && std::strcmp(argv[1], "write") == 0;
    if (!read && !write) {
        std::fprintf(stderr, "usage: %s read|write FILE (write rewrites FILE in place)\n", argv[0]);
        return 2;
    }
    try {
        SpreadsheetSession session;
        session.open(argv[2]);
        session.bindFirstWorksheet();
        if (read)
            readAll(session, argv[2]);
        else
            writeBack(session, argv[2]);
    } catch (const quvela::QuvelaError &e) {
        std::fprintf(stderr, "%s\n", quvela::gbk::toUtf8(e.message()).c_str());
        return 1;
    }
    return 0;
}
