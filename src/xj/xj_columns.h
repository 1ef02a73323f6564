// The 32 columns of the roster table as members of XjRecord, in table order, so that
// the table, the import and the dump walk one list instead of spelling out each field.
#pragma once

#include "xj/xj_record.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quvela::xj {

struct XjColumn
{
    std::string_view name;
    // Exactly one of the two is set.
    int32_t XjRecord::*integer = nullptr;
    GbkString XjRecord::*text = nullptr;
};

namespace detail {
constexpr XjColumn integerColumn(std::string_view name, int32_t XjRecord::*member)
{
    return {name, member, nullptr};
}
constexpr XjColumn textColumn(std::string_view name, GbkString XjRecord::*member)
{
    return {name, nullptr, member};
}
} // namespace detail

// Entry k - 1 is table column k.
inline constexpr std::array<XjColumn, 32> kXjColumns = {
    detail::integerColumn("xh", &XjRecord::xh),
    detail::textColumn("xm", &XjRecord::xm),
    detail::textColumn("xb", &XjRecord::xb),
    detail::textColumn("csny", &XjRecord::csny),
    detail::textColumn("gzny", &XjRecord::gzny),
    detail::textColumn("tsny", &XjRecord::tsny),
    detail::textColumn("ndkh", &XjRecord::ndkh),
    detail::textColumn("xrzw", &XjRecord::xrzw),
    detail::textColumn("zwny", &XjRecord::zwny),
    detail::integerColumn("heji1", &XjRecord::heji1),
    detail::textColumn("gwdj1", &XjRecord::gwdj1),
    detail::integerColumn("gwgz1", &XjRecord::gwgz1),
    detail::integerColumn("xjdj1", &XjRecord::xjdj1),
    detail::integerColumn("xjgz1", &XjRecord::xjgz1),
    detail::integerColumn("bf101", &XjRecord::bf101),
    detail::integerColumn("qita1", &XjRecord::qita1),
    detail::integerColumn("heji2", &XjRecord::heji2),
    detail::textColumn("gwdj2", &XjRecord::gwdj2),
    detail::integerColumn("gwgz2", &XjRecord::gwgz2),
    detail::integerColumn("xjdj2", &XjRecord::xjdj2),
    detail::integerColumn("xjgz2", &XjRecord::xjgz2),
    detail::integerColumn("bf102", &XjRecord::bf102),
    detail::integerColumn("qita2", &XjRecord::qita2),
    detail::integerColumn("zzhj", &XjRecord::zzhj),
    detail::integerColumn("zzxj", &XjRecord::zzxj),
    detail::integerColumn("zz10", &XjRecord::zz10),
    detail::integerColumn("zzqt", &XjRecord::zzqt),
    detail::integerColumn("bufa", &XjRecord::bufa),
    detail::textColumn("bz", &XjRecord::bz),
    detail::integerColumn("zwlb", &XjRecord::zwlb),
    detail::integerColumn("sftz", &XjRecord::sftz),
    detail::textColumn("whcd", &XjRecord::whcd),
};

// The list above must follow the names the rest of the program uses.
constexpr bool columnsFollowNames()
{
    for (std::size_t i = 0; i < kXjColumns.size(); ++i)
        if (kXjColumns[i].name != kXjColumnNames[i])
            return false;
    return true;
}
static_assert(columnsFollowNames());

} // namespace quvela::xj
