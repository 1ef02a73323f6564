#include "spreadsheet/cell_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quvela::spreadsheet {

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian), after H. Hinnant.
void civilFromDays(long long days, long long &year, unsigned &month, unsigned &day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<long long>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

constexpr long long kDays1899To1970 = 25569; // 1899-12-30 .. 1970-01-01
constexpr long long kDays1904To1970 = 24107; // 1904-01-01 .. 1970-01-01
constexpr double kLastSerial1900 = 2958466;  // 10000-01-01

std::string timeText(long long seconds)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return buffer;
}

} // namespace

std::string formatNumber(double number)
{
    if (!std::isfinite(number))
        return "#NUM!";
    if (number == 0)
        return "0";
    if (std::fabs(number) < 1e15 && number == std::trunc(number))
        return std::to_string(static_cast<long long>(number));

    // 15 significant digits, as the spreadsheet applications show a value.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number,
                                      std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const bool negative = scientific.front() == '-';
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, ePos)) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    int exponent = 0;
    std::string_view expText = scientific.substr(ePos + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent >= 21 || exponent < -20) {
        text += digits.substr(0, 1);
        if (digits.size() > 1)
            text += '.' + digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        text += std::to_string(std::abs(exponent));
        return text;
    }
    if (exponent >= 0) {
        const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits)
            return text + digits + std::string(integerDigits - digits.size(), '0');
        return text + digits.substr(0, integerDigits) + '.' + digits.substr(integerDigits);
    }
    return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
}

std::optional<std::string> formatDateSerial(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0)
        return std::nullopt;
    if (serial >= (date1904 ? kLastSerial1900 - 1462 : kLastSerial1900))
        return std::nullopt;
    const long long totalSeconds = std::llround(serial * 86400.0);
    long long whole = totalSeconds / 86400;
    const long long seconds = totalSeconds % 86400;

    std::string text;
    if (!date1904 && whole == 0)
        return timeText(seconds);
    long long year = 0;
    unsigned month = 0;
    unsigned day = 0;
    if (!date1904 && whole == 60) {
        // The day Lotus 1-2-3 invented and Excel kept for compatibility.
        year = 1900;
        month = 2;
        day = 29;
    } else {
        if (!date1904 && whole < 60)
            ++whole;
        civilFromDays(whole - (date1904 ? kDays1904To1970 : kDays1899To1970), year, month, day);
    }
    text = std::to_string(year) + '-' + std::to_string(month) + '-' + std::to_string(day);
    if (seconds != 0)
        text += ' ' + timeText(seconds);
    return text;
}

std::string cellText(const CellValue &value, bool date1904)
{
    switch (value.type) {
    case CellValue::Type::Empty:
        return {};
    case CellValue::Type::Number:
        if (value.isDate) {
            if (auto date = formatDateSerial(value.number, date1904))
                return *date;
        }
        return formatNumber(value.number);
    case CellValue::Type::Boolean:
        return value.number != 0 ? "TRUE" : "FALSE";
    case CellValue::Type::Text:
    case CellValue::Type::Error:
        return value.text;
    }
    return {};
}

std::optional<double> parseNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    // from_chars would also take "inf" and "nan", which no file stores as a number.
    const char first = text.front() == '-' ? (text.size() > 1 ? text[1] : '\0') : text.front();
    if (!((first >= '0' && first <= '9') || first == '.'))
        return std::nullopt;
    double number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(number))
        return std::nullopt;
    return number;
}

} // namespace quvela::spreadsheet
