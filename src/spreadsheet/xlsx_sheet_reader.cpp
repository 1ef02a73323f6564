#include "spreadsheet/xlsx_sheet_reader.h"

#include "spreadsheet/cell_text.h"
#include "spreadsheet/ooxml_text.h"
#include "spreadsheet/rich_text_collector.h"
#include "spreadsheet/spreadsheet_session.h"

#include <charconv>

namespace quvela::spreadsheet {

namespace {

using Kind = XmlScanner::Kind;

[[noreturn]] void damaged(const std::string &detail)
{
    throw WorkbookOpenError(gbk::fromUtf8("工作簿文件已损坏或不是有效的 Excel 文件（" + detail + "）。"));
}

template <typename T>
bool parseUnsigned(std::string_view text, T &value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool isOpen(const XmlScanner::Token &token)
{
    return token.kind == Kind::Start || token.kind == Kind::Empty;
}

std::string_view rawAttribute(std::string_view attributes, std::string_view name)
{
    std::string_view raw;
    return XmlScanner::findAttribute(attributes, name, raw) ? raw : std::string_view();
}

} // namespace

std::optional<double> isoDateSerial(std::string_view text, bool date1904)
{
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' || !parseUnsigned(text.substr(0, 4), year)
        || !parseUnsigned(text.substr(5, 2), month) || !parseUnsigned(text.substr(8, 2), day))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    std::string_view rest = text.substr(10);
    if (!rest.empty() && rest.back() == 'Z')
        rest.remove_suffix(1);
    if (!rest.empty()) {
        if (rest.size() < 9 || rest[0] != 'T' || rest[3] != ':' || rest[6] != ':'
            || !parseUnsigned(rest.substr(1, 2), hour) || !parseUnsigned(rest.substr(4, 2), minute))
            return std::nullopt;
        const auto s = parseNumber(rest.substr(7));
        if (!s || hour > 23 || minute > 59 || *s < 0 || *s >= 60)
            return std::nullopt;
        second = *s;
    }
    double serial = static_cast<double>(daysFromCivil(year, month, day) + (date1904 ? 24107 : 25569));
    if (!date1904 && serial < 61)
        serial -= 1; // before the fictitious 1900-02-29
    if (serial < 0)
        return std::nullopt;
    return serial + (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::size_t readSharedStrings(ZipPackage &package, const std::string &part, CellStore &store)
{
    const auto index = part.empty() ? std::nullopt : package.find(part);
    if (!index)
        return 0;
    std::size_t count = 0;
    try {
        XmlScanner scanner(package.stream(*index));
        RichTextCollector text;
        bool inItem = false;
        for (;;) {
            const auto &token = scanner.next();
            if (token.kind == Kind::Eof)
                break;
            if (token.depth == 1 && XmlScanner::localName(token.name) == "si") {
                if (token.kind == Kind::Start) {
                    inItem = true;
                    text.clear();
                } else {
                    inItem = false;
                    store.addText(token.kind == Kind::End ? text.take() : std::string());
                    ++count;
                }
            } else if (inItem) {
                text.feed(token);
            }
        }
    } catch (const XmlError &error) {
        damaged(std::string("共享字符串 XML 无效：") + error.what());
    }
    return count;
}

void readSheetCells(ZipPackage &package, const std::string &sheetPart,
                    const std::vector<bool> &dateStyles, std::size_t sharedStringCount,
                    bool date1904, CellStore &store, CellWriteGuard &guard,
                    SheetFormulas &formulas)
{
    const auto index = package.find(sheetPart);
    if (!index)
        damaged("找不到工作表");
    try {
        XmlScanner scanner(package.stream(*index));
        bool inSheetData = false;
        bool inMerges = false;
        int row = 0;
        int column = 0;

        bool inCell = false;
        bool inValue = false;
        bool inFormula = false;
        bool inInline = false;
        std::optional<SheetFormula> formula;
        bool hasValue = false;
        std::string type;
        std::size_t style = 0;
        CellPosition cell;
        std::string value;
        RichTextCollector inlineText;
        std::string inlineString;

        auto finishCell = [&]() {
            if (formula) {
                formula->cell = cell;
                // Writers that do not calculate (openpyxl) leave an empty <v/>: no result.
                // An empty text is a result only when the cell says it is text.
                formula->hasResult = hasValue && (!value.empty() || type == "str" || type == "inlineStr");
                if (!isValidUtf8(formula->text))
                    damaged("公式编码无效");
                formulas.add(std::move(*formula));
                formula.reset();
            }
            if (!hasValue)
                return;
            if (type == "s") {
                std::size_t i = 0;
                if (parseUnsigned(std::string_view(value), i) && i < sharedStringCount)
                    store.setText(cell.row, cell.column, static_cast<uint32_t>(i));
            } else if (type == "inlineStr") {
                if (!inlineString.empty())
                    store.setText(cell.row, cell.column, store.addText(std::move(inlineString)));
            } else if (value.empty()) {
                return; // an empty <v> is an empty cell
            } else if (type == "str") {
                if (!isValidUtf8(value))
                    damaged("文本编码无效");
                store.setText(cell.row, cell.column, store.addText(value));
            } else if (type == "b") {
                store.setBoolean(cell.row, cell.column, value == "1" || value == "true");
            } else if (type == "e") {
                if (!isValidUtf8(value))
                    damaged("文本编码无效");
                store.setError(cell.row, cell.column, store.addText(value));
            } else if (type == "d") {
                if (const auto serial = isoDateSerial(value, date1904))
                    store.setNumber(cell.row, cell.column, *serial, true);
                else if (isValidUtf8(value))
                    store.setText(cell.row, cell.column, store.addText(value));
            } else if (const auto number = parseNumber(value)) {
                const bool isDate = style < dateStyles.size() && dateStyles[style];
                store.setNumber(cell.row, cell.column, *number, isDate);
            } else if (isValidUtf8(value)) {
                // Not a number although typed as one: keep what the file says.
                store.setText(cell.row, cell.column, store.addText(value));
            }
        };

        for (;;) {
            const auto &token = scanner.next();
            if (token.kind == Kind::Eof)
                break;
            if (inInline) {
                if (token.kind == Kind::End && token.depth == 4) {
                    inInline = false;
                    inlineString = inlineText.take();
                } else {
                    inlineText.feed(token);
                }
                continue;
            }
            if (inFormula) {
                if (token.kind == Kind::Text)
                    XmlScanner::decodeAppend(token.raw, formula->text);
                else if (token.kind == Kind::CData)
                    formula->text.append(token.raw.substr(9, token.raw.size() - 12));
                else if (token.kind == Kind::End && token.depth == 4)
                    inFormula = false;
                if (formula->text.size() > SheetFormulas::kMaxTextBytes)
                    damaged("公式过长");
                continue;
            }
            if (inValue) {
                if (token.kind == Kind::Text)
                    XmlScanner::decodeAppend(token.raw, value);
                else if (token.kind == Kind::CData)
                    value.append(token.raw.substr(9, token.raw.size() - 12));
                else if (token.kind == Kind::End && token.depth == 4)
                    inValue = false;
                continue;
            }
            if (token.kind == Kind::Text || token.kind == Kind::CData || token.kind == Kind::Other)
                continue;
            const std::string_view local = XmlScanner::localName(token.name);
            switch (token.depth) {
            case 1:
                if (local == "sheetData")
                    inSheetData = token.kind == Kind::Start;
                else if (local == "mergeCells")
                    inMerges = token.kind == Kind::Start;
                break;
            case 2:
                if (inSheetData && isOpen(token) && local == "row") {
                    const std::string_view r = rawAttribute(token.attributes, "r");
                    int number = 0;
                    if (r.empty())
                        number = row + 1;
                    else if (!parseUnsigned(r, number))
                        damaged("行号无效");
                    if (number < 1 || number > kMaxRows)
                        damaged("行号超出范围");
                    row = number;
                    column = 0;
                } else if (inMerges && isOpen(token) && local == "mergeCell") {
                    if (auto range = parseCellRange(rawAttribute(token.attributes, "ref")))
                        guard.addMerged(*range);
                }
                break;
            case 3:
                if (!inSheetData || local != "c")
                    break;
                if (token.kind == Kind::End) {
                    inCell = false;
                    finishCell();
                    break;
                }
                if (row == 0)
                    damaged("单元格不在行内");
                {
                    const std::string_view r = rawAttribute(token.attributes, "r");
                    if (r.empty()) {
                        if (column >= kMaxColumns)
                            damaged("列号超出范围");
                        cell = {row, column + 1};
                    } else {
                        const auto parsed = parseCellReference(r);
                        if (!parsed)
                            damaged("单元格引用无效");
                        cell = *parsed;
                    }
                    column = cell.column;
                    type.assign(rawAttribute(token.attributes, "t"));
                    style = 0;
                    const std::string_view s = rawAttribute(token.attributes, "s");
                    if (!s.empty() && !parseUnsigned(s, style))
                        style = 0;
                    hasValue = false;
                    formula.reset();
                    value.clear();
                    inlineString.clear();
                    inCell = token.kind == Kind::Start;
                }
                break;
            case 4:
                if (!inCell || token.kind == Kind::End)
                    break;
                if (local == "v") {
                    hasValue = true;
                    inValue = token.kind == Kind::Start;
                } else if (local == "is") {
                    hasValue = true;
                    if (token.kind == Kind::Start) {
                        inInline = true;
                        inlineText.clear();
                    }
                } else if (local == "f") {
                    const std::string_view t = rawAttribute(token.attributes, "t");
                    const auto range = parseCellRange(rawAttribute(token.attributes, "ref"));
                    formula.emplace();
                    if (t == "shared") {
                        uint32_t group = 0;
                        if (!parseUnsigned(rawAttribute(token.attributes, "si"), group))
                            group = UINT32_MAX;
                        formula->group = group;
                        const bool first = range && token.kind == Kind::Start;
                        formula->kind = first ? SheetFormula::Kind::SharedFirst : SheetFormula::Kind::Shared;
                        if (first)
                            formula->range = *range;
                    } else if (t == "array" || t == "dataTable") {
                        formula->kind = SheetFormula::Kind::Array;
                        formula->range = range ? *range : CellRange{cell, cell};
                        guard.addArrayFormula(formula->range);
                    }
                    inFormula = token.kind == Kind::Start;
                }
                break;
            default:
                break;
            }
        }
    } catch (const XmlError &error) {
        damaged(std::string("工作表 XML 无效：") + error.what());
    }
    store.finish();
    formulas.finish();
}

void readTableHeaders(ZipPackage &package, const std::vector<std::string> &tableParts,
                      CellWriteGuard &guard)
{
    for (const std::string &part : tableParts) {
        const auto index = package.find(part);
        if (!index)
            continue;
        const std::string document = package.read(*index);
        try {
            XmlScanner scanner{std::string_view(document)};
            for (;;) {
                const auto &token = scanner.next();
                if (token.kind == Kind::Eof)
                    break;
                if (!isOpen(token) || token.depth != 0)
                    continue;
                const auto range = parseCellRange(rawAttribute(token.attributes, "ref"));
                int headerRows = 1;
                const std::string_view count = rawAttribute(token.attributes, "headerRowCount");
                if (!count.empty() && !parseUnsigned(count, headerRows))
                    headerRows = 1;
                if (range && headerRows > 0) {
                    CellRange header = *range;
                    header.last.row = std::min(header.last.row, header.first.row + headerRows - 1);
                    guard.addTableHeader(header);
                }
            }
        } catch (const XmlError &error) {
            damaged(std::string("表格部件 XML 无效：") + error.what());
        }
    }
}

} // namespace quvela::spreadsheet
