#include "common/pub_func.h"

#include "common/errors.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace quvela {
namespace {

constexpr std::string_view kLeaderDutyWages = "^4000^3200^2510^1900^1410^1080^830^640^510^430^";
constexpr std::string_view kWorkerGradeWages = "^410^270^195^155^125^";

int positionInList(std::string_view list, std::string_view amount)
{
    GbkString needle;
    needle.reserve(amount.size() + 2);
    needle.append(1, '^').append(amount).append(1, '^');
    const std::size_t at = list.find(needle);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Calls visit(start, length) for each character of text until it returns false.
template <typename Visit>
void forEachCharacter(std::string_view text, Visit visit)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = gbk::charLength(text, pos);
        if (!visit(pos, length))
            return;
        pos += length;
    }
}

} // namespace

int PosInLeaderDutyWages(std::string_view amount)
{
    return positionInList(kLeaderDutyWages, amount);
}

int PosInWorkerGradeWages(std::string_view amount)
{
    return positionInList(kWorkerGradeWages, amount);
}

bool TryStrToInt(std::string_view text, int32_t &value)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return false;
    // One beyond INT32_MAX is allowed so that INT32_MIN can be read.
    constexpr int64_t limit = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!isDigit(text[pos]))
            return false;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit)
            return false;
    }
    if (!negative && magnitude == limit)
        return false;
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

int32_t StrToInt(std::string_view text)
{
    int32_t value = 0;
    if (!TryStrToInt(text, value))
        throw ConversionError("'" + GbkString(text) + "' is not a valid integer value");
    return value;
}

bool ShiftYearMonth(std::string_view text, int shift, TPny &pair)
{
    const int32_t year = StrToInt(text.substr(0, 4));
    int32_t month = 0;
    if (text.size() > 6) {
        month = StrToInt(text.substr(5, 2));
    } else if (text.size() == 6 && !isDigit(text[4]) && isDigit(text[5])) {
        // "2010.5": a separator and a one-digit month. Reading bytes 5-6 here would
        // take ".5" for the month and refuse a date the clerk wrote plainly.
        month = text[5] - '0';
    } else {
        month = StrToInt(text.substr(std::min<std::size_t>(4, text.size()), 2));
    }
    if (year <= 1900 || year > 2099 || month < 1 || month > 12)
        return false;

    int32_t newYear = year;
    int32_t newMonth = month;
    if (shift < 0) {
        if (month == 1) {
            newMonth = 12;
            --newYear;
        } else {
            --newMonth;
        }
    } else if (shift > 0) {
        if (month == 12) {
            newMonth = 1;
            ++newYear;
        } else {
            ++newMonth;
        }
    }
    char monthText[4];
    std::snprintf(monthText, sizeof monthText, "%02d", static_cast<int>(newMonth));
    pair.Year = std::to_string(newYear);
    pair.Month = monthText;
    return true;
}

GbkString ReplaceFirstNoCase(std::string_view text, std::string_view oldText,
                             std::string_view newText)
{
    if (oldText.empty())
        return GbkString(text);
    const GbkString upperText = gbk::toUpperAscii(text);
    const GbkString upperOld = gbk::toUpperAscii(oldText);
    std::vector<bool> boundary(upperText.size() + 1, false);
    forEachCharacter(upperText, [&](std::size_t pos, std::size_t) {
        boundary[pos] = true;
        return true;
    });
    boundary[upperText.size()] = true;
    std::size_t found = std::string::npos;
    for (std::size_t pos = upperText.find(upperOld); pos != std::string::npos;
         pos = upperText.find(upperOld, pos + 1)) {
        if (boundary[pos] && boundary[pos + upperOld.size()]) {
            found = pos;
            break;
        }
    }
    if (found == std::string::npos)
        return GbkString(text);
    GbkString out;
    out.reserve(text.size() - oldText.size() + newText.size());
    out.append(text.substr(0, found));
    out.append(gbk::toUpperAscii(newText));
    out.append(text.substr(found + oldText.size()));
    return out;
}

GbkString CopyWholeChars(std::string_view text, int &count)
{
    if (count <= 0)
        return {};
    const std::size_t wanted = static_cast<std::size_t>(count);
    if (wanted >= text.size())
        return GbkString(text);
    std::size_t cut = wanted;
    forEachCharacter(text, [&](std::size_t pos, std::size_t length) {
        if (pos + length > wanted) {
            cut = pos;
            return false;
        }
        return true;
    });
    count = static_cast<int>(cut);
    return GbkString(text.substr(0, cut));
}

GbkString FormatYearMonth(std::string_view text)
{
    const std::string_view t = gbk::trimmed(text);
    if (t.size() != 6 && t.size() != 5)
        return GbkString(text);
    // The dot goes in only before a month digit that starts a character of its own:
    // "2009-7" and "2009.5" already carry a separator and must not become "2009.-7"
    // or "2009..5", and a character must not lose half of its bytes.
    bool monthDigitStartsCharacter = false;
    forEachCharacter(t, [&](std::size_t pos, std::size_t) {
        if (pos >= 4) {
            monthDigitStartsCharacter = pos == 4 && isDigit(t[4]);
            return false;
        }
        return true;
    });
    if (!monthDigitStartsCharacter)
        return GbkString(text);
    GbkString out;
    out.reserve(t.size() + 1);
    out.append(t.substr(0, 4)).append(1, '.').append(t.substr(4));
    return out;
}

} // namespace quvela
