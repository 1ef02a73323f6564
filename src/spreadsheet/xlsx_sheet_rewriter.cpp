#include "spreadsheet/xlsx_sheet_rewriter.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/cell_reference.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace quvela::spreadsheet {

namespace {

using Kind = XmlScanner::Kind;

[[noreturn]] void unfollowable(const std::string &detail)
{
    throw QuvelaError(gbk::fromUtf8("无法写入工作簿：" + detail + "。工作簿未被修改。"));
}

struct ColumnStyle
{
    int min;
    int max;
    std::string style;
};

int parseInt(std::string_view text, int fallback)
{
    int value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return (r.ec == std::errc() && r.ptr == text.data() + text.size()) ? value : fallback;
}

std::string_view rawAttribute(std::string_view attributes, std::string_view name)
{
    std::string_view raw;
    return XmlScanner::findAttribute(attributes, name, raw) ? raw : std::string_view();
}

class Rewriter
{
public:
    Rewriter(const PendingWrites &writes, const FormulaCellEdits &edits)
        : m_writes(writes), m_next(writes.begin()), m_edits(edits)
    {
    }

    std::string run(XmlScanner &scanner)
    {
        for (;;) {
            const auto &token = scanner.next();
            if (token.kind == Kind::Eof)
                break;
            handle(scanner, token);
        }
        if (m_next != m_writes.end())
            unfollowable("找不到工作表的单元格数据");
        return std::move(m_out);
    }

private:
    void handle(XmlScanner &scanner, const XmlScanner::Token &token)
    {
        const bool open = token.kind == Kind::Start || token.kind == Kind::Empty;
        if (token.kind == Kind::Text || token.kind == Kind::CData || token.kind == Kind::Other) {
            m_out += token.raw;
            return;
        }
        const std::string_view local = XmlScanner::localName(token.name);
        if (!m_inSheetData) {
            if (token.depth == 1 && local == "sheetData" && open) {
                m_prefix = std::string(token.name.substr(0, token.name.size() - local.size()));
                if (token.kind == Kind::Empty) {
                    m_out += '<' + std::string(token.name) + std::string(token.attributes) + '>';
                    flushRowsBefore(kMaxRows + 1);
                    m_out += "</" + std::string(token.name) + '>';
                    return;
                }
                m_inSheetData = true;
            } else if (token.depth == 1 && local == "dimension" && open) {
                writeDimension(token);
                return;
            } else if (token.depth == 2 && local == "col" && open) {
                const std::string_view style = rawAttribute(token.attributes, "style");
                if (!style.empty())
                    m_columnStyles.push_back({parseInt(rawAttribute(token.attributes, "min"), 0),
                                              parseInt(rawAttribute(token.attributes, "max"), 0),
                                              std::string(style)});
            }
            m_out += token.raw;
            return;
        }

        if (token.depth == 1 && token.kind == Kind::End) { // </sheetData>
            flushRowsBefore(kMaxRows + 1);
            m_inSheetData = false;
            m_out += token.raw;
            return;
        }
        if (token.depth == 2 && local == "row") {
            if (open)
                startRow(token);
            else
                endRow(token.raw);
            return;
        }
        if (token.depth == 3 && local == "c" && open) {
            cell(scanner, token);
            return;
        }
        m_out += token.raw;
    }

    void writeDimension(const XmlScanner::Token &token)
    {
        std::string_view ref;
        const bool has = XmlScanner::findAttribute(token.attributes, "ref", ref);
        const auto range = has ? parseCellRange(ref) : std::nullopt;
        if (!range || m_writes.empty()) {
            m_out += token.raw;
            return;
        }
        CellRange wider = *range;
        for (const auto &[row, cells] : m_writes) {
            wider.first.row = std::min(wider.first.row, row);
            wider.last.row = std::max(wider.last.row, row);
            wider.first.column = std::min(wider.first.column, cells.begin()->first);
            wider.last.column = std::max(wider.last.column, cells.rbegin()->first);
        }
        const std::size_t at = static_cast<std::size_t>(ref.data() - token.raw.data());
        m_out += token.raw.substr(0, at);
        m_out += rangeReference(wider);
        m_out += token.raw.substr(at + ref.size());
    }

    // Rows that hold writes but are not in the file, up to (not including) row.
    void flushRowsBefore(int row)
    {
        while (m_next != m_writes.end() && m_next->first < row) {
            m_out += '<' + m_prefix + "row r=\"" + std::to_string(m_next->first) + "\">";
            for (const auto &[column, value] : m_next->second)
                newCell(m_next->first, column, value);
            m_out += "</" + m_prefix + "row>";
            ++m_next;
        }
    }

    void startRow(const XmlScanner::Token &token)
    {
        const std::string_view r = rawAttribute(token.attributes, "r");
        const int row = r.empty() ? m_row + 1 : parseInt(r, -1);
        if (row <= m_row || row > kMaxRows)
            unfollowable("工作表的行顺序异常");
        m_row = row;
        m_column = 0;
        flushRowsBefore(row);
        m_rowWrites = nullptr;
        // Looked up once a row: most cells of a roster have no edit.
        m_rowEdits = nullptr;
        if (!m_edits.empty()) {
            const auto edits = m_edits.find(row);
            if (edits != m_edits.end())
                m_rowEdits = &edits->second;
        }
        if (m_next != m_writes.end() && m_next->first == row) {
            m_rowWrites = &m_next->second;
            m_pendingCell = m_rowWrites->begin();
            ++m_next;
        }
        m_rowStyle.clear();
        if (rawAttribute(token.attributes, "customFormat") == "1"
            || rawAttribute(token.attributes, "customFormat") == "true")
            m_rowStyle = std::string(rawAttribute(token.attributes, "s"));

        if (!m_rowWrites && !r.empty()) {
            m_out += token.raw;
            return;
        }
        // Rebuild the start tag: a reference when it had none, spans widened.
        m_out += '<';
        m_out += token.name;
        if (r.empty())
            m_out += " r=\"" + std::to_string(row) + '"';
        XmlScanner::Attributes attributes(token.attributes);
        std::string_view name;
        std::string_view value;
        while (attributes.next(name, value)) {
            if (m_rowWrites && XmlScanner::localName(name) == "spans") {
                const std::size_t colon = value.find(':');
                if (colon == std::string_view::npos || value.find(' ') != std::string_view::npos)
                    continue; // several spans: drop the hint rather than keep a wrong one
                int first = std::min(parseInt(value.substr(0, colon), 1), m_rowWrites->begin()->first);
                int last = std::max(parseInt(value.substr(colon + 1), 1), m_rowWrites->rbegin()->first);
                m_out += ' ';
                m_out += name;
                m_out += "=\"" + std::to_string(first) + ':' + std::to_string(last) + '"';
                continue;
            }
            appendAttribute(name, value);
        }
        if (token.kind == Kind::Empty) {
            m_out += '>';
            endRow("</" + std::string(token.name) + '>');
        } else {
            m_out += '>';
        }
    }

    void endRow(std::string_view raw)
    {
        if (m_rowWrites) {
            for (; m_pendingCell != m_rowWrites->end(); ++m_pendingCell)
                newCell(m_row, m_pendingCell->first, m_pendingCell->second);
            m_rowWrites = nullptr;
        }
        m_out += raw;
    }

    void cell(XmlScanner &scanner, const XmlScanner::Token &token)
    {
        const std::string_view r = rawAttribute(token.attributes, "r");
        int column = m_column + 1;
        if (!r.empty()) {
            const auto position = parseCellReference(r);
            if (!position)
                unfollowable("单元格引用无效");
            column = position->column;
        }
        if (column <= m_column || column > kMaxColumns)
            unfollowable("工作表的单元格顺序异常");
        m_column = column;

        if (m_rowWrites) {
            for (; m_pendingCell != m_rowWrites->end() && m_pendingCell->first < column; ++m_pendingCell)
                newCell(m_row, m_pendingCell->first, m_pendingCell->second);
            if (m_pendingCell != m_rowWrites->end() && m_pendingCell->first == column) {
                replaceCell(scanner, token, m_pendingCell->second);
                ++m_pendingCell;
                return;
            }
        }
        if (m_rowEdits) {
            if (const auto edit = m_rowEdits->find(column); edit != m_rowEdits->end()) {
                editCell(scanner, token, edit->second);
                return;
            }
        }
        if (!r.empty()) {
            m_out += token.raw;
            return;
        }
        const std::size_t nameEnd = 1 + token.name.size();
        m_out += token.raw.substr(0, nameEnd);
        m_out += " r=\"" + cellReference(m_row, column) + '"';
        m_out += token.raw.substr(nameEnd);
    }

    void replaceCell(XmlScanner &scanner, const XmlScanner::Token &token, int32_t value)
    {
        const std::string name(token.name);
        std::string attributes = " r=\"" + cellReference(m_row, m_column) + '"';
        {
            XmlScanner::Attributes it(token.attributes);
            std::string_view attribute;
            std::string_view raw;
            while (it.next(attribute, raw)) {
                const std::string_view local = XmlScanner::localName(attribute);
                if (attribute == "r" || attribute == "t" || local == "cm" || local == "vm")
                    continue;
                std::swap(attributes, m_out);
                appendAttribute(attribute, raw);
                std::swap(attributes, m_out);
            }
        }
        // The old content goes, except an extension list, which is not about the value.
        std::string extensions;
        if (token.kind == Kind::Start) {
            bool inExtensions = false;
            for (;;) {
                const auto &inner = scanner.next();
                if (inner.kind == Kind::Eof)
                    throw XmlError("XML document ends early");
                if (inner.kind == Kind::End && inner.depth == 3)
                    break;
                if (inner.depth == 4 && XmlScanner::localName(inner.name) == "extLst") {
                    if (inner.kind == Kind::Empty) {
                        extensions += inner.raw;
                        continue;
                    }
                    inExtensions = inner.kind == Kind::Start;
                    extensions += inner.raw;
                    continue;
                }
                if (inExtensions)
                    extensions += inner.raw;
            }
        }
        m_out += '<' + name + attributes + '>';
        appendValue(value);
        m_out += extensions;
        m_out += "</" + name + '>';
    }

    // The cell's children are kept as they are, except the formula and the result the
    // edit replaces; a new result sets the cell's type to match it.
    void editCell(XmlScanner &scanner, const XmlScanner::Token &token, const FormulaCellEdit &edit)
    {
        const std::string name(token.name);
        std::string attributes = " r=\"" + cellReference(m_row, m_column) + '"';
        {
            XmlScanner::Attributes it(token.attributes);
            std::string_view attribute;
            std::string_view raw;
            while (it.next(attribute, raw)) {
                if (attribute == "r" || (edit.replaceResult && attribute == "t"))
                    continue;
                std::swap(attributes, m_out);
                appendAttribute(attribute, raw);
                std::swap(attributes, m_out);
            }
        }
        std::string formula;
        std::string value;
        std::string rest;
        if (token.kind == Kind::Start) {
            std::string *into = nullptr;
            for (;;) {
                const auto &inner = scanner.next();
                if (inner.kind == Kind::Eof)
                    throw XmlError("XML document ends early");
                if (inner.kind == Kind::End && inner.depth == 3)
                    break;
                if (inner.depth == 4 && inner.kind != Kind::End && inner.kind != Kind::Text) {
                    const std::string_view local = XmlScanner::localName(inner.name);
                    into = local == "f" ? &formula : local == "v" ? &value : &rest;
                }
                if (into)
                    *into += inner.raw;
                else
                    rest += inner.raw;
            }
        }
        if (edit.formulaAttributes) {
            formula = '<' + m_prefix + 'f' + *edit.formulaAttributes + '>';
            appendEscaped(formula, edit.formulaText);
            formula += "</" + m_prefix + "f>";
        }
        if (edit.replaceResult) {
            value.clear();
            if (edit.result) {
                switch (edit.result->type) {
                case CellValue::Type::Number: {
                    char digits[32];
                    const auto end = std::to_chars(digits, digits + sizeof digits, edit.result->number).ptr;
                    value = '<' + m_prefix + "v>" + std::string(digits, end);
                    break;
                }
                case CellValue::Type::Boolean:
                    attributes += " t=\"b\"";
                    value = '<' + m_prefix + "v>" + (edit.result->number != 0 ? "1" : "0");
                    break;
                case CellValue::Type::Text:
                    attributes += " t=\"str\"";
                    value = '<' + m_prefix + "v>";
                    appendEscaped(value, edit.result->text);
                    break;
                default:
                    break;
                }
                if (!value.empty())
                    value += "</" + m_prefix + "v>";
            }
        }
        m_out += '<' + name + attributes + '>';
        m_out += formula;
        m_out += value;
        m_out += rest;
        m_out += "</" + name + '>';
    }

    static void appendEscaped(std::string &out, std::string_view text)
    {
        for (const char c : text) {
            switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
            }
        }
    }

    void newCell(int row, int column, int32_t value)
    {
        m_out += '<' + m_prefix + "c r=\"" + cellReference(row, column) + '"';
        std::string style = m_rowStyle;
        if (style.empty() || row != m_row) {
            style.clear();
            for (const ColumnStyle &c : m_columnStyles) {
                if (column >= c.min && column <= c.max) {
                    style = c.style;
                    break;
                }
            }
        }
        if (!style.empty() && style != "0")
            m_out += " s=\"" + style + '"';
        m_out += '>';
        appendValue(value);
        m_out += "</" + m_prefix + "c>";
    }

    void appendValue(int32_t value)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_out += '<' + m_prefix + "v>";
        m_out.append(digits, end);
        m_out += "</" + m_prefix + "v>";
    }

    void appendAttribute(std::string_view name, std::string_view raw)
    {
        const char quote = raw.data()[-1];
        m_out += ' ';
        m_out += name;
        m_out += '=';
        m_out += quote;
        m_out += raw;
        m_out += quote;
    }

    const PendingWrites &m_writes;
    PendingWrites::const_iterator m_next;
    const FormulaCellEdits &m_edits;
    const std::map<int, FormulaCellEdit> *m_rowEdits = nullptr;
    const std::map<int, int32_t> *m_rowWrites = nullptr;
    std::map<int, int32_t>::const_iterator m_pendingCell;
    std::vector<ColumnStyle> m_columnStyles;
    std::string m_prefix;
    std::string m_rowStyle;
    std::string m_out;
    bool m_inSheetData = false;
    int m_row = 0;
    int m_column = 0;
};

} // namespace

std::string rewriteSheet(XmlScanner::Source source, const PendingWrites &writes,
                         const FormulaCellEdits &edits)
{
    XmlScanner scanner(std::move(source));
    return Rewriter(writes, edits).run(scanner);
}

} // namespace quvela::spreadsheet
