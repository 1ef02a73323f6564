#include "spreadsheet/sheet_layout.h"

#include "spreadsheet/compound_file.h"
#include "spreadsheet/workbook_format.h"
#include "spreadsheet/xls_globals.h"
#include "spreadsheet/xls_reader.h"
#include "spreadsheet/xls_record_stream.h"
#include "spreadsheet/xls_sheet_data.h"
#include "spreadsheet/xlsx_parts.h"
#include "spreadsheet/zip_package.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>

namespace quvela::spreadsheet {
namespace {

// A hostile sheet could list millions of ranges; no roster has more than a few hundred.
constexpr std::size_t kMaxMerges = 100000;
// The width of a digit of the default body font (11-point Calibri) at 96 dpi: the unit of
// the stored column widths.
constexpr double kDigitPixels = 7;
// Widths are kept for the columns a roster can use; a range to the sheet's last column
// (a common way to size "all the rest") would otherwise cost 16,384 entries each time.
constexpr int kMaxSizedColumn = 1024;

bool attribute(std::string_view attributes, std::string_view name, std::string &value)
{
    std::string_view raw;
    if (!XmlScanner::findAttribute(attributes, name, raw))
        return false;
    value = XmlScanner::decode(raw);
    return true;
}

bool number(std::string_view attributes, std::string_view name, double &value)
{
    std::string text;
    if (!attribute(attributes, name, text))
        return false;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool flag(std::string_view attributes, std::string_view name)
{
    std::string text;
    return attribute(attributes, name, text) && (text == "1" || text == "true");
}

// A stored width counts digits including the cell padding, truncated to whole pixels.
int columnPixels(double width)
{
    if (width <= 0)
        return 0;
    return int(std::min(width, 255.0) * kDigitPixels + 0.5);
}

int rowPixels(double points)
{
    return int(std::min(std::max(points, 0.0), 409.5) * 96.0 / 72.0 + 0.5);
}

void readLayout(XmlScanner &scanner, SheetLayout &layout)
{
    for (;;) {
        const XmlScanner::Token &token = scanner.next();
        if (token.kind == XmlScanner::Kind::Eof)
            return;
        if (token.kind != XmlScanner::Kind::Start && token.kind != XmlScanner::Kind::Empty)
            continue;
        const std::string_view name = XmlScanner::localName(token.name);
        const std::string_view attrs = token.attributes;
        double value = 0;
        if (name == "sheetFormatPr") {
            if (number(attrs, "defaultRowHeight", value))
                layout.defaultRowHeight = rowPixels(value);
            if (number(attrs, "defaultColWidth", value))
                layout.defaultColumnWidth = columnPixels(value);
            else if (number(attrs, "baseColWidth", value))
                // The base width plus padding and grid line, rounded up to 8 pixels.
                layout.defaultColumnWidth = int(std::ceil((std::min(value, 255.0) * kDigitPixels + 5) / 8) * 8);
        } else if (name == "pane") {
            std::string state;
            attribute(attrs, "state", state);
            if (state == "frozen" || state == "frozenSplit") {
                if (number(attrs, "ySplit", value) && value > 0 && value < kMaxRows)
                    layout.frozenRows = int(value);
                if (number(attrs, "xSplit", value) && value > 0 && value < kMaxColumns)
                    layout.frozenColumns = int(value);
            }
        } else if (name == "col") {
            double min = 0, max = 0;
            if (!number(attrs, "min", min) || !number(attrs, "max", max) || min < 1 || max < min)
                continue;
            max = std::min(max, double(kMaxSizedColumn));
            const bool hidden = flag(attrs, "hidden");
            double width = 0;
            const bool sized = number(attrs, "width", width);
            for (int c = int(min); c <= int(max); ++c) {
                if (sized)
                    layout.columnWidths[c] = columnPixels(width);
                if (hidden)
                    layout.hiddenColumns.push_back(c);
            }
        } else if (name == "row") {
            double r = 0;
            if (!number(attrs, "r", r) || r < 1 || r > kMaxRows)
                continue;
            if (flag(attrs, "hidden"))
                layout.hiddenRows.push_back(int(r));
            if (flag(attrs, "customHeight") && number(attrs, "ht", value))
                layout.rowHeights[int(r)] = rowPixels(value);
        } else if (name == "mergeCell") {
            std::string ref;
            if (layout.merges.size() < kMaxMerges && attribute(attrs, "ref", ref))
                if (const auto range = parseCellRange(ref))
                    layout.merges.push_back(*range);
        }
    }
}

// The records of a BIFF8 worksheet that say how it looks, from its BOF to its EOF.
void readXlsLayout(std::string_view stream, std::size_t offset, SheetLayout &layout)
{
    constexpr uint16_t kEof = 0x000A, kColInfo = 0x007D, kRow = 0x0208, kMergedCells = 0x00E5,
                       kDefColWidth = 0x0055, kDefaultRowHeight = 0x0225, kPane = 0x0041, kWindow2 = 0x023E;
    XlsRecordStream records(stream, offset);
    XlsRecord record;
    bool frozen = false;
    int paneRows = 0;
    int paneColumns = 0;
    bool first = true;
    while (records.next(record)) {
        const std::string_view d = record.data;
        if (first) {
            first = false; // the sheet's own BOF
            continue;
        }
        switch (record.type) {
        case kEof:
            if (frozen) {
                layout.frozenRows = paneRows;
                layout.frozenColumns = paneColumns;
            }
            return;
        case kDefColWidth:
            if (d.size() >= 2)
                // Characters without the padding, which Excel adds as it does for xlsx.
                layout.defaultColumnWidth =
                    int(std::ceil((std::min<double>(xlsU16(d, 0), 255) * kDigitPixels + 5) / 8) * 8);
            break;
        case kDefaultRowHeight:
            if (d.size() >= 4)
                layout.defaultRowHeight = rowPixels(xlsU16(d, 2) / 20.0);
            break;
        case kColInfo:
            if (d.size() >= 10) {
                const int firstColumn = xlsU16(d, 0) + 1;
                const int lastColumn = std::min<int>(xlsU16(d, 2) + 1, kMaxSizedColumn);
                const double width = xlsU16(d, 4) / 256.0;
                const bool hidden = xlsU16(d, 8) & 0x0001;
                for (int c = firstColumn; c <= lastColumn; ++c) {
                    layout.columnWidths[c] = columnPixels(width);
                    if (hidden)
                        layout.hiddenColumns.push_back(c);
                }
            }
            break;
        case kRow:
            if (d.size() >= 16) {
                const int row = xlsU16(d, 0) + 1;
                const uint16_t height = xlsU16(d, 6);
                const uint32_t options = xlsU32(d, 12);
                if (options & 0x0020)
                    layout.hiddenRows.push_back(row);
                // A height of the row's own (fUnsynced), not the default it follows.
                if ((options & 0x0040) && !(height & 0x8000))
                    layout.rowHeights[row] = rowPixels((height & 0x7FFF) / 20.0);
            }
            break;
        case kMergedCells:
            if (d.size() >= 2) {
                const std::size_t count = std::min<std::size_t>(xlsU16(d, 0), (d.size() - 2) / 8);
                for (std::size_t i = 0; i < count && layout.merges.size() < kMaxMerges; ++i) {
                    const std::size_t at = 2 + 8 * i;
                    CellRange range;
                    range.first = {xlsU16(d, at) + 1, xlsU16(d, at + 4) + 1};
                    range.last = {xlsU16(d, at + 2) + 1, xlsU16(d, at + 6) + 1};
                    if (range.last.row >= range.first.row && range.last.column >= range.first.column)
                        layout.merges.push_back(range);
                }
            }
            break;
        case kWindow2:
            if (d.size() >= 2)
                frozen = xlsU16(d, 0) & 0x0008;
            break;
        case kPane:
            if (d.size() >= 4) {
                paneColumns = xlsU16(d, 0);
                paneRows = xlsU16(d, 2);
            }
            break;
        default:
            break;
        }
    }
}

void readXlsFileLayout(const std::filesystem::path &file, SheetLayout &layout)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaxXlsFileBytes)
        return;
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return;
    if (!CompoundFile::hasSignature(bytes))
        return;
    const CompoundFile container(bytes);
    const std::optional<std::string> stream = container.readStream("Workbook");
    if (!stream)
        return;
    XlsSheetData texts;
    const XlsGlobals globals = readXlsGlobals(*stream, texts);
    for (const XlsSheetEntry &entry : globals.sheets)
        if (entry.kind == XlsSheetEntry::Kind::Worksheet) {
            readXlsLayout(*stream, entry.offset, layout);
            return;
        }
}

} // namespace

SheetLayout readSheetLayout(const std::filesystem::path &file)
{
    SheetLayout layout;
    try {
        if (detectWorkbookFormat(file) != WorkbookFormat::Xlsx) {
            readXlsFileLayout(file, layout);
            return layout;
        }
        ZipPackage package(file);
        const XlsxParts parts = locateParts(package);
        const auto index = package.find(parts.firstSheet);
        if (!index)
            return layout;
        XmlScanner scanner(package.stream(*index));
        readLayout(scanner, layout);
    } catch (const std::exception &) {
        // What was read before the damage stays; the cells have their own reader.
    }
    return layout;
}

} // namespace quvela::spreadsheet
