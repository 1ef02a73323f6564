#include "spreadsheet/sheet_layout.h"

#include "spreadsheet/workbook_format.h"
#include "spreadsheet/xlsx_parts.h"
#include "spreadsheet/zip_package.h"

#include <charconv>
#include <cmath>
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

} // namespace

SheetLayout readSheetLayout(const std::filesystem::path &file)
{
    SheetLayout layout;
    try {
        if (detectWorkbookFormat(file) != WorkbookFormat::Xlsx)
            return layout;
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
