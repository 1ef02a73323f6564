// The column map as the column settings dialogs edit it: one 0-based worksheet column
// per field, stored as two digits of the 1-based column. Shared by the XJ (32 fields)
// and ZW (31 fields) dialogs.
#pragma once

#include "common/gbk.h"

#include <optional>
#include <vector>

namespace quvela {

// Two digits hold columns 1 to 99, shown less one.
inline constexpr int kMaxDialogColumnValue = 98;

// n as decimal text, with a leading "0" below 10.
GbkString TwoDigitText(int n);

// The values a dialog of `fields` fields shows for a stored map: piece k less one. A
// piece that is not an integer ends the reading there: that field and all later ones
// show 0, and error holds the conversion message. Missing pieces show 0 too.
struct DialogValuesRead
{
    std::vector<int> values;
    std::optional<GbkString> error;
};
DialogValuesRead dialogValuesFromMap(const GbkString &columnMap, int fields);

// The map of the dialog values (each 0..98), two bytes per value.
GbkString columnMapFromValues(const std::vector<int> &values);

// Fields that share a column, in the order they are reported: for each field n (1-based)
// up to `fields` the nearest later field j with the same column.
struct FieldClash
{
    int field = 0;
    int laterField = 0;
};
std::vector<FieldClash> findFieldClashes(const GbkString &columnMap, int fields);

// "第 n 项与第 j 项列号重复！"
GbkString fieldClashMessage(const FieldClash &clash);

} // namespace quvela
