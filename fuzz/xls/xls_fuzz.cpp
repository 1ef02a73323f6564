// The .xls reader on arbitrary bytes: it must refuse them with WorkbookOpenError or
// return a sheet whose every cell reads back, never crash, leak or run unbounded.
#include "support/sheet_walk.h"
#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/xls_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace quvela;
    try {
        const auto sheet = spreadsheet::readXlsFirstSheet(
            std::string_view(reinterpret_cast<const char *>(data), size));
        quvela::fuzz::walkSheet(*sheet);
    } catch (const spreadsheet::WorkbookOpenError &) {
    }
    return 0;
}
