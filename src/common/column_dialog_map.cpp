#include "common/column_dialog_map.h"

#include "common/errors.h"
#include "common/pub_func.h"

#include <algorithm>
#include <string>

namespace quvela {

GbkString TwoDigitText(int n)
{
    GbkString text = std::to_string(n);
    if (n <= 9)
        text.insert(text.begin(), '0');
    return text;
}

DialogValuesRead dialogValuesFromMap(const GbkString &columnMap, int fields)
{
    DialogValuesRead read;
    read.values.assign(std::size_t(std::max(fields, 0)), 0);
    for (int k = 0; k < fields; ++k) {
        const std::size_t at = std::size_t(2 * k);
        if (at >= columnMap.size())
            break;
        try {
            read.values[std::size_t(k)] = StrToInt(std::string_view(columnMap).substr(at, 2)) - 1;
        } catch (const ConversionError &error) {
            read.error = error.message();
            break;
        }
    }
    return read;
}

GbkString columnMapFromValues(const std::vector<int> &values)
{
    GbkString map;
    for (int value : values)
        map += TwoDigitText(value + 1);
    return map;
}

std::vector<FieldClash> findFieldClashes(const GbkString &columnMap, int fields)
{
    std::vector<FieldClash> clashes;
    const auto piece = [&columnMap](int field) {
        return std::string_view(columnMap).substr(std::size_t(2 * (field - 1)), 2);
    };
    const int count = std::min(fields, int(columnMap.size() / 2));
    for (int n = 1; n <= count; ++n)
        for (int j = n + 1; j <= count; ++j)
            if (piece(n) == piece(j)) {
                clashes.push_back({n, j});
                break;
            }
    return clashes;
}

GbkString fieldClashMessage(const FieldClash &clash)
{
    return gbk::fromUtf8("第 ") + std::to_string(clash.field) + gbk::fromUtf8(" 项与第 ")
           + std::to_string(clash.laterField) + gbk::fromUtf8(" 项列号重复！");
}

} // namespace quvela
