// Reads every cell of the first worksheet as the tools do (open, bind, read the text of
// each cell up to each row's last one) and reports what it read on stderr, so that the
// counts can be held against another reader's.
#include "common/gbk.h"
#include "spreadsheet/spreadsheet_session.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    using namespace quvela;
    try {
        spreadsheet::SpreadsheetSession session;
        session.open(argv[1]);
        session.bindFirstWorksheet();
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
        std::fprintf(stderr, "read %s rows=%d cells=%zu nonempty=%zu gbk_bytes=%zu\n", argv[1], lastRow, cells,
                     nonEmpty, bytes);
    } catch (const QuvelaError &e) {
        std::fprintf(stderr, "%s\n", gbk::toUtf8(e.message()).c_str());
        return 1;
    }
    return 0;
}
