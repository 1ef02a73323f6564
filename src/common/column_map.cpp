#include "common/column_map.h"

#include "common/errors.h"
#include "common/pub_func.h"

#include <algorithm>
#include <cstdio>

namespace quvela {

GbkString CompleteColumnMap(const GbkString &stored, int fields)
{
    GbkString map = stored;
    if (map.size() % 2 != 0)
        map.pop_back();
    char pair[16];
    for (int k = static_cast<int>(map.size() / 2) + 1; k <= fields; ++k) {
        std::snprintf(pair, sizeof pair, "%02d", k);
        map.append(pair);
    }
    return map;
}

std::vector<int> DecodeColumnMap(const GbkString &map, int fields)
{
    std::vector<int> columns;
    columns.reserve(static_cast<std::size_t>(std::max(fields, 0)));
    for (int k = 0; k < fields; ++k) {
        const std::size_t at = static_cast<std::size_t>(k) * 2;
        const std::string_view pair = at < map.size() ? std::string_view(map).substr(at, 2) : std::string_view();
        // A half pair at the end of a short map is no column number either.
        if (pair.size() < 2)
            throw ConversionError("'" + GbkString(pair) + "' is not a valid integer value");
        columns.push_back(StrToInt(pair));
    }
    return columns;
}

std::vector<int> DecodeGridWidths(const GbkString &text, int columns)
{
    std::vector<int> widths;
    for (int i = 0; i < columns; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 3;
        if (at + 3 > text.size())
            break;
        widths.push_back(StrToInt(std::string_view(text).substr(at, 3)));
    }
    return widths;
}

GbkString EncodeGridWidths(const std::vector<int> &widths)
{
    GbkString text;
    text.reserve(widths.size() * 3);
    char group[8];
    for (const int width : widths) {
        std::snprintf(group, sizeof group, "%03d", ((width % 1000) + 1000) % 1000);
        text.append(group);
    }
    return text;
}

} // namespace quvela
