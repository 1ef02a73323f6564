// The .xlsx reader and cell writer on arbitrary input. Two shapes of input:
// - a zip package (starts with "PK"), opened as it is;
// - anything else: up to four XML parts separated by NUL bytes (worksheet, shared
//   strings, styles, workbook) that are packed into a well-formed package first, so that
//   mutations reach the XML readers instead of dying on zip checksums.
// An input that opens is read cell by cell, then one cell is written and saved; the
// saved file must hold the value and every other cell as before.
#include "support/sheet_walk.h"
#include "spreadsheet/cell_text.h"
#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/xlsx_workbook.h"

#include <zip.h>

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using namespace quvela;

constexpr std::string_view kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(</Types>)";
constexpr std::string_view kRootRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";
constexpr std::string_view kWorkbookRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
    R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";
constexpr std::string_view kDefaultWorkbook =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)";

// Where the inputs become files: memory-backed when the system has it.
const fs::path &workFolder()
{
    static const fs::path folder = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path f = base / ("quvela-fuzz-xlsx-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

bool writeFile(const fs::path &file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

bool packParts(const fs::path &file, std::string_view input)
{
    std::array<std::string_view, 4> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t end = i + 1 < parts.size() ? input.find('\0') : std::string_view::npos;
        parts[i] = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }
    const std::array<std::pair<const char *, std::string_view>, 7> entries{{
        {"[Content_Types].xml", kContentTypes},
        {"_rels/.rels", kRootRels},
        {"xl/workbook.xml", parts[3].empty() ? kDefaultWorkbook : parts[3]},
        {"xl/_rels/workbook.xml.rels", kWorkbookRels},
        {"xl/worksheets/sheet1.xml", parts[0]},
        {"xl/sharedStrings.xml", parts[1]},
        {"xl/styles.xml", parts[2]},
    }};
    int error = 0;
    zip_t *archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &[name, bytes] : entries) {
        zip_source_t *source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (!source || zip_file_add(archive, name, source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

void checkWrite(const fs::path &file, const std::vector<std::vector<std::string>> &before)
{
    // A cell just past the data (created) and, when there is one, the first cell.
    const int newRow = static_cast<int>(before.size()) + 1;
    spreadsheet::XlsxWorkbook workbook(file);
    bool wrote = false;
    for (const auto &[row, column, value] : {std::tuple{1, 1, 4321}, std::tuple{newRow, 3, -17}}) {
        try {
            workbook.writeInteger(row, column, value);
            wrote = true;
        } catch (const QuvelaError &) {
            // A cell the writer refuses (merged, shared formula, ...): a message, fine.
        }
    }
    if (!wrote)
        return;
    try {
        workbook.save();
    } catch (const QuvelaError &) {
        return; // a failed save leaves the original: nothing more to check
    }
    const spreadsheet::XlsxWorkbook saved(file);
    const auto after = quvela::fuzz::walkSheet(saved.cells());
    for (std::size_t r = 0; r < before.size(); ++r) {
        for (std::size_t c = 0; c < before[r].size(); ++c) {
            const int row = static_cast<int>(r) + 1;
            const int column = static_cast<int>(c) + 1;
            // Formulas may now compute differently: their texts are checked below.
            if (workbook.pendingValue(row, column) || (row == 1 && column == 1)
                || workbook.formulas().find(row, column))
                continue;
            const std::string now = r < after.size() && c < after[r].size() ? after[r][c] : std::string();
            if (now != before[r][c]) {
                std::fprintf(stderr, "cell %d,%d changed by a save: '%s' became '%s'\n", row, column,
                             before[r][c].c_str(), now.c_str());
                std::abort();
            }
        }
    }
    // Every formula not written over reads the same, a filled-down one carried on from
    // a new first cell included.
    for (const spreadsheet::SheetFormula &formula : workbook.formulas().all()) {
        if (workbook.pendingValue(formula.cell.row, formula.cell.column)
            || (formula.cell.row == 1 && formula.cell.column == 1))
            continue;
        const auto text = workbook.formulas().textAt(formula);
        const spreadsheet::SheetFormula *now = saved.formulas().find(formula.cell.row, formula.cell.column);
        if (!text)
            continue; // a filled-down formula without its first cell: nothing to keep
        if (!now || saved.formulas().textAt(*now) != text) {
            std::fprintf(stderr, "formula at %d,%d changed by a save\n", formula.cell.row, formula.cell.column);
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const fs::path file = workFolder() / "input.xlsx";
    const bool packaged = input.substr(0, 2) == "PK";
    if (!(packaged ? writeFile(file, input) : packParts(file, input)))
        std::abort(); // the work folder itself failed
    try {
        std::vector<std::vector<std::string>> before;
        {
            const spreadsheet::XlsxWorkbook workbook(file);
            before = quvela::fuzz::walkSheet(workbook.cells());
        }
        checkWrite(file, before);
    } catch (const spreadsheet::WorkbookOpenError &) {
    }
    return 0;
}
