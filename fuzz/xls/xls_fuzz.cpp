// The .xls reader and writer on arbitrary bytes: the reader must refuse them with
// WorkbookOpenError or return a sheet whose every cell reads back; the writer, given a
// few cells to write into whatever it read, must refuse them with a QuvelaError or build
// a file in which the reader finds the numbers. Never a crash, leak or unbounded run.
#include "support/sheet_walk.h"
#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/xls_reader.h"
#include "spreadsheet/xls_workbook.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void writeInto(std::string_view bytes, const quvela::spreadsheet::SheetData &sheet)
{
    using namespace quvela;
    // Cells that exist, a row past the end, and the first cell: each edit path once.
    const int last = sheet.lastRow();
    const int cells[][3] = {{1, 1, 5},
                            {last > 0 ? last : 1, sheet.lastColumn(last) > 0 ? sheet.lastColumn(last) : 1, -7},
                            {last / 2 + 1, 2, 1 << 30},
                            {last + 1, 3, 42},
                            {last + 40, 1, 0}};
    try {
        spreadsheet::XlsWorkbook book{std::string(bytes)};
        std::size_t accepted = 0;
        for (const auto &cell : cells) {
            try {
                book.writeInteger(cell[0], cell[1], cell[2]);
                ++accepted;
            } catch (const QuvelaError &) {
            }
        }
        if (accepted == 0)
            return;
        const std::string written = book.buildFile();
        const auto check = spreadsheet::readXlsFirstSheet(std::string_view(written));
        for (const auto &cell : cells) {
            if (const int32_t *value = book.pendingValue(cell[0], cell[1])) {
                const spreadsheet::CellValue read = check->cell(cell[0], cell[1]);
                if (read.type != spreadsheet::CellValue::Type::Number || read.number != book.readBack(*value, read.isDate))
                    std::abort();
            }
        }
    } catch (const QuvelaError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace quvela;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    try {
        const auto sheet = spreadsheet::readXlsFirstSheet(bytes);
        quvela::fuzz::walkSheet(*sheet);
        writeInto(bytes, *sheet);
    } catch (const spreadsheet::WorkbookOpenError &) {
    }
    return 0;
}
