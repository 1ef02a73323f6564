#include "xj/xj_column_settings.h"

#include "common/errors.h"
#include "common/pub_func.h"

#include <algorithm>
#include <string>

namespace quvela::xj {

GbkString TwoDigits(int n)
{
    GbkString text = std::to_string(n);
    if (n <= 9)
        text.insert(text.begin(), '0');
    return text;
}

DialogColumnsRead dialogColumnsFromMap(const GbkString &columnMap)
{
    DialogColumnsRead read;
    for (int k = 0; k < kColumnMapFields; ++k) {
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

GbkString columnMapFromDialog(const DialogColumns &values)
{
    GbkString map;
    for (int value : values)
        map += TwoDigits(value + 1);
    return map;
}

std::vector<ColumnClash> findColumnClashes(const GbkString &columnMap)
{
    std::vector<ColumnClash> clashes;
    const auto piece = [&columnMap](int field) {
        return std::string_view(columnMap).substr(std::size_t(2 * (field - 1)), 2);
    };
    const int fields = std::min(kColumnMapFields, int(columnMap.size() / 2));
    for (int n = 1; n <= fields; ++n)
        for (int j = n + 1; j <= fields; ++j)
            if (piece(n) == piece(j)) {
                clashes.push_back({n, j});
                break;
            }
    return clashes;
}

GbkString clashMessage(const ColumnClash &clash)
{
    return gbk::fromUtf8("第 ") + std::to_string(clash.field) + gbk::fromUtf8(" 项与第 ")
           + std::to_string(clash.laterField) + gbk::fromUtf8(" 项列号重复！");
}

} // namespace quvela::xj
