#include "xj/xj_column_settings.h"

#include "common/column_dialog_map.h"

#include <algorithm>

namespace quvela::xj {

GbkString TwoDigits(int n)
{
    return TwoDigitText(n);
}

DialogColumnsRead dialogColumnsFromMap(const GbkString &columnMap)
{
    const DialogValuesRead values = dialogValuesFromMap(columnMap, kColumnMapFields);
    DialogColumnsRead read;
    std::copy(values.values.begin(), values.values.end(), read.values.begin());
    read.error = values.error;
    return read;
}

GbkString columnMapFromDialog(const DialogColumns &values)
{
    return columnMapFromValues(std::vector<int>(values.begin(), values.end()));
}

std::vector<ColumnClash> findColumnClashes(const GbkString &columnMap)
{
    std::vector<ColumnClash> clashes;
    for (const FieldClash &clash : findFieldClashes(columnMap, kColumnMapFields))
        clashes.push_back({clash.field, clash.laterField});
    return clashes;
}

GbkString clashMessage(const ColumnClash &clash)
{
    return fieldClashMessage({clash.field, clash.laterField});
}

} // namespace quvela::xj
