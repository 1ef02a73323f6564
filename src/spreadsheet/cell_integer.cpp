#include "spreadsheet/cell_integer.h"

#include "common/errors.h"
#include "common/gbk.h"
#include "spreadsheet/cell_text.h"

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

int32_t textInteger(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        notAnInteger(text);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            notAnInteger(text);
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            notAnInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        notAnInteger(text);
    return static_cast<int32_t>(value);
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
