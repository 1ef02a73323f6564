#include "spreadsheet/number_format.h"

namespace quvela::spreadsheet {

bool isBuiltinDateFormat(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47)
        || (id >= 50 && id <= 58);
}

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isDatePart(char c)
{
    c = lowerAscii(c);
    return c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's';
}

// "[h]", "[mm]", "[ss]": elapsed time, which still shows a time.
bool isElapsedTime(std::string_view inside)
{
    if (inside.empty())
        return false;
    const char first = lowerAscii(inside.front());
    if (first != 'h' && first != 'm' && first != 's')
        return false;
    for (char c : inside) {
        if (lowerAscii(c) != first)
            return false;
    }
    return true;
}

} // namespace

bool isDateFormatCode(std::string_view code)
{
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        switch (c) {
        case ';':
            return false; // only the first section decides
        case '"': {
            const std::size_t close = code.find('"', i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
            break;
        }
        case '\\':
        case '_':
        case '*':
            ++i; // the next character is literal, a padding or a fill
            break;
        case '[': {
            const std::size_t close = code.find(']', i + 1);
            if (close == std::string_view::npos)
                return false;
            if (isElapsedTime(code.substr(i + 1, close - i - 1)))
                return true;
            i = close;
            break;
        }
        default:
            if (isDatePart(c))
                return true;
        }
    }
    return false;
}

} // namespace quvela::spreadsheet
