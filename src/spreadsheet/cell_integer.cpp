#include "spreadsheet/cell_integer.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/cell_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace quvela::spreadsheet {

namespace {

[[noreturn]] void notAnInteger(const std::string &utf8Text)
{
    throw ConversionError(gbk::fromUtf8("'" + utf8Text + "' is not a valid integer value"));
}

double roundHalfToEven(double x)
{
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff > 0.5)
        return lower + 1;
    if (diff < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

bool fitsInt32(double x)
{
    return x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max();
}

// A numeric text converts as the number it spells: "345", " -12", "+8", and also "12.5"
// or "1E3", which round like number cells. Blanks may lead, nothing may follow.
int32_t textInteger(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::size_t digits = i;
    if (digits < text.size() && text[digits] == '+')
        ++digits; // from_chars takes a minus sign only
    const char *first = text.data() + digits;
    const char *last = text.data() + text.size();
    // from_chars would also take "inf" and "nan"; a number starts with a digit or a point.
    if (first == last || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.'
                           || (*first == '-' && digits == i && first + 1 < last)))
        notAnInteger(text);
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last || !std::isfinite(value))
        notAnInteger(text);
    const double rounded = roundHalfToEven(value);
    if (!fitsInt32(rounded))
        notAnInteger(text);
    return static_cast<int32_t>(rounded);
}

} // namespace

int32_t cellInteger(const CellValue &value, bool date1904)
{
    switch (value.type) {
    case CellValue::Type::Empty:
        return 0;
    case CellValue::Type::Boolean:
        return value.number != 0 ? -1 : 0;
    case CellValue::Type::Number: {
        const double rounded = roundHalfToEven(value.number);
        if (!std::isfinite(value.number) || !fitsInt32(rounded))
            notAnInteger(cellText(value, date1904));
        return static_cast<int32_t>(rounded);
    }
    case CellValue::Type::Text:
        return value.text.empty() ? 0 : textInteger(value.text);
    case CellValue::Type::Error:
        break;
    }
    notAnInteger(value.text);
}

} // namespace quvela::spreadsheet
