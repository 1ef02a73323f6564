#include "spreadsheet/formula_references.h"

#include <cctype>

namespace quvela::spreadsheet {

namespace {

bool isWordChar(unsigned char c)
{
    // Bytes of non-ASCII characters belong to names (sheet names, defined names).
    return std::isalnum(c) || c == '_' || c == '.' || c == '$' || c == '\\' || c >= 0x80;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// One end of a reference: "$A$1", "A1", "$C" (columns only) or "$5" (rows only).
struct Part
{
    int column = 0; // 0 when the part has no column
    int row = 0;    // 0 when the part has no row
    bool absoluteColumn = false;
    bool absoluteRow = false;
};

std::optional<Part> parsePart(std::string_view text)
{
    Part part;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$') {
        part.absoluteColumn = true;
        ++i;
    }
    const std::size_t lettersAt = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t letters = i - lettersAt;
    if (letters > 3)
        return std::nullopt;
    if (letters > 0) {
        const auto column = parseColumnLetters(text.substr(lettersAt, letters));
        if (!column)
            return std::nullopt;
        part.column = *column;
    } else if (part.absoluteColumn) {
        // "$5": the dollar belongs to the row
        part.absoluteColumn = false;
        part.absoluteRow = true;
    }
    if (i < text.size() && text[i] == '$') {
        if (part.absoluteRow || letters == 0)
            return std::nullopt;
        part.absoluteRow = true;
        ++i;
    }
    const std::size_t digitsAt = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i != text.size() || i - digitsAt > 7)
        return std::nullopt;
    if (i > digitsAt) {
        int row = 0;
        for (std::size_t k = digitsAt; k < i; ++k)
            row = row * 10 + (text[k] - '0');
        if (row < 1 || row > kMaxRows)
            return std::nullopt;
        part.row = row;
    } else if (part.absoluteRow) {
        return std::nullopt; // "A$" is nothing
    }
    if (part.column == 0 && part.row == 0)
        return std::nullopt;
    return part;
}

std::string formatPart(const Part &part)
{
    std::string text;
    if (part.column) {
        if (part.absoluteColumn)
            text += '$';
        text += columnLetters(part.column);
    }
    if (part.row) {
        if (part.absoluteRow)
            text += '$';
        text += std::to_string(part.row);
    }
    return text;
}

bool movePart(Part &part, int rows, int columns)
{
    if (part.column && !part.absoluteColumn) {
        part.column += columns;
        if (part.column < 1 || part.column > kMaxColumns)
            return false;
    }
    if (part.row && !part.absoluteRow) {
        part.row += rows;
        if (part.row < 1 || part.row > kMaxRows)
            return false;
    }
    return true;
}

class Scanner
{
public:
    Scanner(std::string_view text, std::string_view ownSheet) : m_text(text), m_ownSheet(ownSheet) {}

    std::vector<FormulaReference> run()
    {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '"') {
                skipQuoted('"');
            } else if (c == '\'') {
                const std::size_t start = m_at + 1;
                skipQuoted('\'');
                std::string name(m_text.substr(start, m_at - start - 1));
                for (std::size_t p = name.find("''"); p != std::string::npos; p = name.find("''", p + 1))
                    name.erase(p, 1);
                if (m_at < m_text.size() && m_text[m_at] == '!') {
                    ++m_at;
                    sheetPrefixed(name, !name.empty() && name[0] == '[');
                }
            } else if (c == '[') {
                skipBrackets();
                m_afterBrackets = m_at; // "[1]Sheet1!": the workbook of the sheet named next
            } else if (c == '#') {
                // An error literal: "#REF!" must not be taken for a sheet prefix.
                ++m_at;
                while (m_at < m_text.size()
                       && (std::isalnum(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '/'))
                    ++m_at;
                if (m_at < m_text.size() && (m_text[m_at] == '!' || m_text[m_at] == '?'))
                    ++m_at;
            } else if (isWordChar(static_cast<unsigned char>(c))) {
                word(false);
            } else {
                ++m_at;
            }
        }
        return std::move(m_found);
    }

private:
    void skipQuoted(char quote)
    {
        ++m_at;
        while (m_at < m_text.size()) {
            if (m_text[m_at] == quote) {
                if (m_at + 1 < m_text.size() && m_text[m_at + 1] == quote) {
                    m_at += 2;
                    continue;
                }
                ++m_at;
                return;
            }
            ++m_at;
        }
    }

    void skipBrackets()
    {
        int depth = 0;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '[')
                ++depth;
            else if (c == ']' && --depth == 0)
                return;
        }
    }

    std::size_t wordEnd(std::size_t from) const
    {
        while (from < m_text.size() && isWordChar(static_cast<unsigned char>(m_text[from])))
            ++from;
        return from;
    }

    void sheetPrefixed(std::string_view sheet, bool external)
    {
        if (m_at < m_text.size() && isWordChar(static_cast<unsigned char>(m_text[m_at]))) {
            const std::size_t before = m_found.size();
            word(external || !equalsNoCase(sheet, m_ownSheet));
            if (m_found.size() > before) {
                m_found.back().sheet = std::string(sheet);
                m_found.back().external = external;
            }
        }
    }

    // A run of name characters: a function, a sheet prefix, a number or a reference.
    void word(bool otherSheet)
    {
        const std::size_t start = m_at;
        std::size_t end = wordEnd(start);
        // A number in exponent form ("1E+3") continues past its sign.
        if (std::isdigit(static_cast<unsigned char>(m_text[start])) && end < m_text.size()
            && (m_text[end] == '+' || m_text[end] == '-') && end > start
            && (m_text[end - 1] == 'E' || m_text[end - 1] == 'e')) {
            bool digitsOnly = true;
            for (std::size_t k = start; k + 1 < end; ++k)
                digitsOnly = digitsOnly && (std::isdigit(static_cast<unsigned char>(m_text[k])) || m_text[k] == '.');
            if (digitsOnly) {
                m_at = wordEnd(end + 1);
                return;
            }
        }
        m_at = end;
        const std::string_view text = m_text.substr(start, end - start);
        if (m_at < m_text.size() && m_text[m_at] == '(')
            return; // a function
        if (m_at < m_text.size() && m_text[m_at] == '!') {
            ++m_at;
            sheetPrefixed(text, start == m_afterBrackets);
            return;
        }
        const auto first = parsePart(text);
        if (!first) {
            name(start, text, otherSheet);
            return;
        }
        FormulaReference ref;
        ref.offset = start;
        ref.otherSheet = otherSheet;
        Part last = *first;
        if (m_at < m_text.size() && m_text[m_at] == ':') {
            const std::size_t secondEnd = wordEnd(m_at + 1);
            if (const auto second = parsePart(m_text.substr(m_at + 1, secondEnd - m_at - 1));
                second && (second->column == 0) == (first->column == 0)
                && (second->row == 0) == (first->row == 0)) {
                last = *second;
                m_at = secondEnd;
            } else if (first->column == 0 || first->row == 0) {
                name(start, text, otherSheet);
                return;
            }
        } else if (first->column == 0 || first->row == 0) {
            name(start, text, otherSheet); // "A" alone is a name, "12" a number
            return;
        }
        ref.length = m_at - start;
        ref.wholeColumns = first->row == 0;
        ref.wholeRows = first->column == 0;
        ref.range.first = {ref.wholeColumns ? 1 : std::min(first->row, last.row),
                           ref.wholeRows ? 1 : std::min(first->column, last.column)};
        ref.range.last = {ref.wholeColumns ? kMaxRows : std::max(first->row, last.row),
                          ref.wholeRows ? kMaxColumns : std::max(first->column, last.column)};
        m_found.push_back(ref);
    }

    void name(std::size_t start, std::string_view text, bool otherSheet)
    {
        if (otherSheet || text.empty() || std::isdigit(static_cast<unsigned char>(text[0]))
            || equalsNoCase(text, "TRUE") || equalsNoCase(text, "FALSE"))
            return;
        FormulaReference ref;
        ref.offset = start;
        ref.length = text.size();
        ref.name = true;
        ref.range = {{1, 1}, {kMaxRows, kMaxColumns}};
        m_found.push_back(ref);
    }

    std::string_view m_text;
    std::string_view m_ownSheet;
    std::size_t m_at = 0;
    std::size_t m_afterBrackets = std::string_view::npos;
    std::vector<FormulaReference> m_found;
};

} // namespace

std::vector<FormulaReference> FormulaReferences::find(std::string_view formula, std::string_view ownSheet)
{
    return Scanner(formula, ownSheet).run();
}

std::optional<std::string> FormulaReferences::shifted(std::string_view formula, int rows, int columns)
{
    std::string out;
    out.reserve(formula.size() + 8);
    std::size_t copied = 0;
    for (const FormulaReference &ref : find(formula)) {
        if (ref.name)
            continue;
        out.append(formula.substr(copied, ref.offset - copied));
        const std::string_view text = formula.substr(ref.offset, ref.length);
        const std::size_t colon = text.find(':');
        auto first = parsePart(text.substr(0, colon));
        if (!first || !movePart(*first, rows, columns))
            return std::nullopt;
        out += formatPart(*first);
        if (colon != std::string_view::npos) {
            auto second = parsePart(text.substr(colon + 1));
            if (!second || !movePart(*second, rows, columns))
                return std::nullopt;
            out += ':';
            out += formatPart(*second);
        }
        copied = ref.offset + ref.length;
    }
    out.append(formula.substr(copied));
    return out;
}

} // namespace quvela::spreadsheet
