#include "spreadsheet/xls_formula_text.h"

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/xls_record_stream.h"
#include "spreadsheet/xls_sheet_data.h"
#include "spreadsheet/xls_string_reader.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <vector>

namespace quvela::spreadsheet {
namespace {

constexpr int kRows = 65536;
constexpr int kColumns = 256;
constexpr int kVariable = -1;

struct Function
{
    uint16_t index;
    const char *name;
    int arguments; // for the fixed-count token form; kVariable when the count is given
};

// The functions rosters use, by their number in the file format. A function missing
// here leaves its formula to the spreadsheet program's recalculation.
constexpr Function kFunctions[] = {
    {0, "COUNT", kVariable},   {1, "IF", kVariable},         {2, "ISNA", 1},
    {3, "ISERROR", 1},         {4, "SUM", kVariable},        {5, "AVERAGE", kVariable},
    {6, "MIN", kVariable},     {7, "MAX", kVariable},        {10, "NA", 0},
    {24, "ABS", 1},            {25, "INT", 1},               {26, "SIGN", 1},
    {27, "ROUND", 2},          {29, "INDEX", kVariable},     {30, "REPT", 2},
    {31, "MID", 3},            {32, "LEN", 1},               {33, "VALUE", 1},
    {34, "TRUE", 0},           {35, "FALSE", 0},             {36, "AND", kVariable},
    {37, "OR", kVariable},     {38, "NOT", 1},               {39, "MOD", 2},
    {48, "TEXT", 2},           {64, "MATCH", kVariable},     {65, "DATE", 3},
    {67, "DAY", 1},            {68, "MONTH", 1},             {69, "YEAR", 1},
    {74, "NOW", 0},            {102, "VLOOKUP", kVariable},  {115, "LEFT", kVariable},
    {116, "RIGHT", kVariable}, {118, "TRIM", 1},             {128, "ISNUMBER", 1},
    {129, "ISBLANK", 1},       {169, "COUNTA", kVariable},   {183, "PRODUCT", kVariable},
    {197, "TRUNC", kVariable}, {212, "ROUNDUP", 2},          {213, "ROUNDDOWN", 2},
    {221, "TODAY", 0},         {228, "SUMPRODUCT", kVariable}, {336, "CONCATENATE", kVariable},
    {345, "SUMIF", kVariable}, {346, "COUNTIF", 2},
};

const Function *function(uint16_t index)
{
    for (const Function &f : kFunctions) {
        if (f.index == index)
            return &f;
    }
    return nullptr;
}

std::string number(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string reference(uint16_t row, uint16_t columnField, bool relativeForm, int baseRow, int baseColumn)
{
    const bool rowRelative = columnField & 0x8000;
    const bool columnRelative = columnField & 0x4000;
    int r = row;
    int c = columnField & 0x00FF;
    if (relativeForm && rowRelative)
        r = ((baseRow + static_cast<int16_t>(row)) % kRows + kRows) % kRows;
    if (relativeForm && columnRelative)
        c = ((baseColumn + static_cast<int8_t>(columnField & 0xFF)) % kColumns + kColumns) % kColumns;
    return (columnRelative ? "" : "$") + columnLetters(c + 1) + (rowRelative ? "" : "$") + std::to_string(r + 1);
}

const char *binaryOperator(uint8_t ptg)
{
    switch (ptg) {
    case 0x03: return "+";
    case 0x04: return "-";
    case 0x05: return "*";
    case 0x06: return "/";
    case 0x07: return "^";
    case 0x08: return "&";
    case 0x09: return "<";
    case 0x0A: return "<=";
    case 0x0B: return "=";
    case 0x0C: return ">=";
    case 0x0D: return ">";
    case 0x0E: return "<>";
    case 0x11: return ":";
    default: return nullptr;
    }
}

} // namespace

std::optional<std::string> xlsFormulaText(std::string_view tokens, int row, int column, std::size_t &budget)
{
    // The file format allows 1,800 bytes of tokens for a formula.
    if (tokens.size() > 1800)
        return std::nullopt;
    // Formulas are at most a few thousand tokens; the stack holds texts, not trees.
    std::vector<std::string> stack;
    std::size_t at = 0;
    auto need = [&](std::size_t n) { return at + n <= tokens.size(); };
    auto pop = [&](std::size_t n) -> std::optional<std::vector<std::string>> {
        if (stack.size() < n)
            return std::nullopt;
        std::vector<std::string> args(stack.end() - static_cast<std::ptrdiff_t>(n), stack.end());
        stack.resize(stack.size() - n);
        return args;
    };
    auto call = [&](const char *name, std::size_t n) {
        auto args = pop(n);
        if (!args)
            return false;
        std::string text = std::string(name) + "(";
        for (std::size_t i = 0; i < args->size(); ++i)
            text += (i ? "," : "") + (*args)[i];
        stack.push_back(text + ")");
        return true;
    };
    while (at < tokens.size()) {
        if (!stack.empty()) {
            const std::size_t built = stack.back().size();
            if (built > FormulaEngine::kMaxFormulaBytes || built > budget)
                return std::nullopt;
            budget -= built;
        }
        const uint8_t ptg = static_cast<uint8_t>(tokens[at++]);
        const uint8_t base = ptg >= 0x20 ? static_cast<uint8_t>((ptg & 0x1F) | 0x20) : ptg;
        if (const char *op = binaryOperator(base)) {
            auto args = pop(2);
            if (!args)
                return std::nullopt;
            stack.push_back((*args)[0] + op + (*args)[1]);
            continue;
        }
        switch (base) {
        case 0x12:
        case 0x13:
        case 0x14:
        case 0x15: {
            auto args = pop(1);
            if (!args)
                return std::nullopt;
            const std::string &x = (*args)[0];
            stack.push_back(base == 0x12 ? "+" + x : base == 0x13 ? "-" + x : base == 0x14 ? x + "%" : "(" + x + ")");
            break;
        }
        case 0x16:
            stack.emplace_back();
            break;
        case 0x17: {
            if (!need(2))
                return std::nullopt;
            const std::size_t chars = static_cast<uint8_t>(tokens[at]);
            const bool wide = tokens[at + 1] & 0x01;
            if (!need(2 + chars * (wide ? 2 : 1)))
                return std::nullopt;
            XlsStringReader reader({tokens.substr(at, 2 + chars * (wide ? 2 : 1))});
            std::string text = reader.unicodeString(1);
            std::string quoted = "\"";
            for (char c : text)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            stack.push_back(quoted + "\"");
            at += 2 + chars * (wide ? 2 : 1);
            break;
        }
        case 0x19: { // attributes: only the one-argument SUM changes the text
            if (!need(3))
                return std::nullopt;
            const uint8_t flags = static_cast<uint8_t>(tokens[at]);
            std::size_t size = 3;
            if (flags & 0x04)
                size += (static_cast<std::size_t>(xlsU16(tokens, at + 1)) + 1) * 2;
            if (!need(size))
                return std::nullopt;
            at += size;
            if ((flags & 0x10) && !call("SUM", 1))
                return std::nullopt;
            break;
        }
        case 0x1C:
            if (!need(1))
                return std::nullopt;
            stack.push_back(XlsSheetData::errorText(static_cast<uint8_t>(tokens[at])));
            at += 1;
            break;
        case 0x1D:
            if (!need(1))
                return std::nullopt;
            stack.push_back(tokens[at] ? "TRUE" : "FALSE");
            at += 1;
            break;
        case 0x1E:
            if (!need(2))
                return std::nullopt;
            stack.push_back(std::to_string(xlsU16(tokens, at)));
            at += 2;
            break;
        case 0x1F: {
            if (!need(8))
                return std::nullopt;
            const double value = std::bit_cast<double>(static_cast<uint64_t>(xlsU32(tokens, at))
                                                       | static_cast<uint64_t>(xlsU32(tokens, at + 4)) << 32);
            if (!std::isfinite(value))
                return std::nullopt;
            stack.push_back(number(value));
            at += 8;
            break;
        }
        case 0x21: { // a function with a fixed number of arguments
            if (!need(2))
                return std::nullopt;
            const Function *f = function(xlsU16(tokens, at));
            at += 2;
            if (!f || f->arguments == kVariable || !call(f->name, static_cast<std::size_t>(f->arguments)))
                return std::nullopt;
            break;
        }
        case 0x22: { // a function given its number of arguments
            if (!need(3))
                return std::nullopt;
            const std::size_t count = static_cast<uint8_t>(tokens[at]) & 0x7F;
            const Function *f = function(xlsU16(tokens, at + 1) & 0x7FFF);
            at += 3;
            if (!f || !call(f->name, count))
                return std::nullopt;
            break;
        }
        case 0x24:
        case 0x2C:
            if (!need(4))
                return std::nullopt;
            stack.push_back(reference(xlsU16(tokens, at), xlsU16(tokens, at + 2), base == 0x2C, row, column));
            at += 4;
            break;
        case 0x25:
        case 0x2D:
            if (!need(8))
                return std::nullopt;
            stack.push_back(reference(xlsU16(tokens, at), xlsU16(tokens, at + 4), base == 0x2D, row, column) + ":"
                            + reference(xlsU16(tokens, at + 2), xlsU16(tokens, at + 6), base == 0x2D, row, column));
            at += 8;
            break;
        case 0x2A:
        case 0x2B:
            stack.push_back("#REF!");
            at += base == 0x2A ? 4 : 8;
            if (at > tokens.size())
                return std::nullopt;
            break;
        default:
            return std::nullopt;
        }
    }
    if (stack.size() != 1 || stack.front().size() > FormulaEngine::kMaxFormulaBytes)
        return std::nullopt;
    return stack.front();
}

} // namespace quvela::spreadsheet
