// The approval opinion of the ZW form: generated from the old and new post and amounts,
// or filled from the row's own template.
#pragma once

#include "common/gbk.h"
#include "common/pub_func.h"

#include <string_view>

namespace quvela::zw {

// The texts of the form's labels and cells the opinion is made of, as filled.
struct ZwOpinionValues
{
    GbkString zw1, zw2;           // previous (or old grade) and current post
    GbkString gwdj1, gwdj2;       // l_gw1, l_gw2: old and new post grade
    GbkString gw1, gw2;           // m_gw1, m_gw2: old and new post wage
    GbkString xjdj1, xjdj2;       // l_xj1, l_xj2: old and new salary grade
    GbkString xj1, xj2;           // m_xj1, m_xj2: old and new salary-grade wage
    GbkString bf1, bf2;           // l_bt1, l_bt2: old and new 10% part
    GbkString oldTenPercentCell;  // the old 10% cell as read
    GbkString increase;           // the monthly change as read
    TPny start;                   // the month after the current post was taken up
};

// The integer value of a label's text; 0 when it is not a whole number.
int32_t labelNumber(std::string_view text);

// "根据…文件规定，该同志职务由…": the post words follow the grades, the words of the 10%
// part and of the monthly change follow the post wages, the salary-grade words compare
// the salary-grade wages for equality.
GbkString generatedOpinion(const GbkString &fileNo, const ZwOpinionValues &v);

// The trimmed template with the first occurrence of each placeholder ("&zw1" … "&ym",
// any letter case) replaced by its value in capitals. Values are not searched again for
// placeholders, so a post named "&zw2部" cannot take the place of the template's own.
GbkString templateOpinion(std::string_view trimmedTemplate, const ZwOpinionValues &v);

} // namespace quvela::zw
