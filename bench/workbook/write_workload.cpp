// The XJ write-back's load on a roster: five integer cells in each data row (from row 7
// to the last), then a save in place.
#include "common/gbk.h"
#include "spreadsheet/spreadsheet_session.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE (rewritten in place)\n", argv[0]);
        return 2;
    }
    using namespace quvela;
    try {
        spreadsheet::SpreadsheetSession session;
        session.open(argv[1]);
        session.bindFirstWorksheet();
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
        std::fprintf(stderr, "write %s cells_set=%d\n", argv[1], written);
    } catch (const QuvelaError &e) {
        std::fprintf(stderr, "%s\n", gbk::toUtf8(e.message()).c_str());
        return 1;
    }
    return 0;
}
