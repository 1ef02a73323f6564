// The approval wording of a duty change, composed from the texts the form shows.
#pragma once

#include "common/gbk.h"
#include "common/staff_category.h"

#include <string_view>

namespace quvela::jg {

struct JgWordingFacts
{
    GbkString fileNo;          // the circular
    StaffCategory newCategory = StaffCategory::NonLeadingPost;
    GbkString oldPost;         // zw1
    GbkString newPost;         // zw2
    GbkString oldAmount;       // the old amount cell as text
    GbkString newAmount;
    GbkString direction;       // 晋升 or 降低
    GbkString oldStep;         // l_xj1
    GbkString newStep;         // l_xj2
    GbkString oldRankWage;     // m_xj1
    GbkString newRankWage;     // m_xj2
    GbkString increase;        // the monthly increase cell as text
    GbkString startYear;       // empty when the start month could not be reckoned
    GbkString startMonth;      // two digits, or empty
};

// 降低 when the new grade-cell value is below the old one, 晋升 otherwise. Only the
// leading-post cells carry amounts that compare; a text that is no integer (a worker's
// technical grade, an empty cell) counts as 0.
GbkString directionWord(std::string_view oldGradeCell, std::string_view newGradeCell);

// The new category alone decides between the technical-grade wording (a worker's new
// amount) and the duty-wage wording. The brackets are those of the approved form texts:
// ASCII everywhere except the full-width one before "，岗位工资".
GbkString composeWording(const JgWordingFacts &facts);

} // namespace quvela::jg
