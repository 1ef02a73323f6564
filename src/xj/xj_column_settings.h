// The column map as the XJ column dialog edits it: one 0-based worksheet column per
// field, stored as two digits of the 1-based column.
#pragma once

#include "common/gbk.h"

#include <array>
#include <optional>
#include <vector>

namespace quvela::xj {

inline constexpr int kColumnMapFields = 32;
// Two digits hold columns 1 to 99, shown less one.
inline constexpr int kMaxDialogColumn = 98;

using DialogColumns = std::array<int, kColumnMapFields>;

// n as decimal text, with a leading "0" below 10.
GbkString TwoDigits(int n);

// The values the dialog shows for a stored map: piece k less one. A piece that is not
// an integer ends the reading there: that field and all later ones show 0, and error
// holds the conversion message. Missing pieces show 0 too.
struct DialogColumnsRead
{
    DialogColumns values{};
    std::optional<GbkString> error;
};
DialogColumnsRead dialogColumnsFromMap(const GbkString &columnMap);

// The 64-byte map of the dialog values (each 0..98).
GbkString columnMapFromDialog(const DialogColumns &values);

// Fields that share a column, in the order they are reported: for each field n (1-based)
// the nearest later field j with the same column.
struct ColumnClash
{
    int field = 0;
    int laterField = 0;
};
std::vector<ColumnClash> findColumnClashes(const GbkString &columnMap);

// "第 n 项与第 j 项列号重复！"
GbkString clashMessage(const ColumnClash &clash);

} // namespace quvela::xj
