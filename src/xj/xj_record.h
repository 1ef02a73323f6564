// One row of the XJ roster table xjgztz.
#pragma once

#include "common/gbk.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quvela::xj {

// Text columns hold GBK text; an empty text is a null in the table. Integers are whole
// yuan, grades or codes.
struct XjRecord
{
    int32_t xh = 0;        // sequence number in the roster
    GbkString xm;          // name, 8 bytes
    GbkString xb;          // sex, 2 bytes
    GbkString csny;        // year and month of birth, 7 bytes
    GbkString gzny;        // starting work, 7 bytes
    GbkString tsny;        // reckoned start of continuous service, 7 bytes
    GbkString ndkh;        // last year's appraisal, 10 bytes
    GbkString xrzw;        // post held, 30 bytes
    GbkString zwny;        // taking up the post, 7 bytes
    int32_t heji1 = 0;     // old monthly total
    GbkString gwdj1;       // old post grade, 16 bytes
    int32_t gwgz1 = 0;     // old post wage
    int32_t xjdj1 = 0;     // old salary grade
    int32_t xjgz1 = 0;     // old salary-grade wage
    int32_t bf101 = 0;     // old 10 % supplement
    int32_t qita1 = 0;     // old other wages
    int32_t heji2 = 0;     // new monthly total
    GbkString gwdj2;       // new post grade, 16 bytes
    int32_t gwgz2 = 0;     // new post wage
    int32_t xjdj2 = 0;     // new salary grade
    int32_t xjgz2 = 0;     // new salary-grade wage
    int32_t bf102 = 0;     // new 10 % supplement
    int32_t qita2 = 0;     // new other wages
    int32_t zzhj = 0;      // total monthly increase
    int32_t zzxj = 0;      // increase of the salary-grade wage
    int32_t zz10 = 0;      // increase of the 10 % supplement
    int32_t zzqt = 0;      // other increase
    int32_t bufa = 0;      // back pay
    GbkString bz;          // remarks, 16 bytes
    int32_t zwlb = 0;      // staff category 1..4
    int32_t sftz = 0;      // adjust flag: 1 = adjust
    GbkString whcd;        // education, 10 bytes

    bool operator==(const XjRecord &) const = default;
};

// Table columns 1 to 32 in table order.
inline constexpr std::array<std::string_view, 32> kXjColumnNames = {
    "xh", "xm", "xb", "csny", "gzny", "tsny", "ndkh", "xrzw", "zwny", "heji1", "gwdj1",
    "gwgz1", "xjdj1", "xjgz1", "bf101", "qita1", "heji2", "gwdj2", "gwgz2", "xjdj2",
    "xjgz2", "bf102", "qita2", "zzhj", "zzxj", "zz10", "zzqt", "bufa", "bz", "zwlb",
    "sftz", "whcd"};

} // namespace quvela::xj
