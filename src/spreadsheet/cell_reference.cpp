#include "spreadsheet/cell_reference.h"

#include <algorithm>

namespace quvela::spreadsheet {

std::optional<int> parseColumnLetters(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int column = 0;
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            return std::nullopt;
        column = column * 26 + (c - 'A' + 1);
    }
    if (column > kMaxColumns)
        return std::nullopt;
    return column;
}

std::optional<CellPosition> parseCellReference(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$')
        ++i;
    const std::size_t lettersStart = i;
    while (i < text.size() && ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z')))
        ++i;
    const auto column = parseColumnLetters(text.substr(lettersStart, i - lettersStart));
    if (!column)
        return std::nullopt;
    if (i < text.size() && text[i] == '$')
        ++i;
    if (i == text.size() || text.size() - i > 7)
        return std::nullopt;
    int row = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        row = row * 10 + (text[i] - '0');
    }
    if (row < 1 || row > kMaxRows)
        return std::nullopt;
    return CellPosition{row, *column};
}

std::optional<CellRange> parseCellRange(std::string_view text)
{
    const std::size_t colon = text.find(':');
    const auto first = parseCellReference(text.substr(0, colon));
    if (!first)
        return std::nullopt;
    if (colon == std::string_view::npos)
        return CellRange{*first, *first};
    const auto last = parseCellReference(text.substr(colon + 1));
    if (!last)
        return std::nullopt;
    return CellRange{{std::min(first->row, last->row), std::min(first->column, last->column)},
                     {std::max(first->row, last->row), std::max(first->column, last->column)}};
}

std::string columnLetters(int column)
{
    std::string letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

std::string cellReference(int row, int column)
{
    return columnLetters(column) + std::to_string(row);
}

std::string rangeReference(const CellRange &range)
{
    if (range.first == range.last)
        return cellReference(range.first.row, range.first.column);
    return cellReference(range.first.row, range.first.column) + ':'
        + cellReference(range.last.row, range.last.column);
}

} // namespace quvela::spreadsheet
