#include "common/staff_category.h"

#include "common/pub_func.h"

#include <string>

namespace quvela {

StaffCategory OfficialDutyWageCategory(int32_t amount)
{
    // The list position 1 is 4000, which the offices have always printed among the
    // non-leading amounts; only the later entries count as leading posts.
    return PosInLeaderDutyWages(std::to_string(amount)) >= 2 ? StaffCategory::LeadingPost
                                                             : StaffCategory::NonLeadingPost;
}

StaffCategory DutyWageCategory(int32_t amount)
{
    // 410, the highest technical grade, lies above 270 and would otherwise be taken
    // for a duty wage; it heads the worker-grade list for that reason.
    if (PosInWorkerGradeWages(std::to_string(amount)) == 1 || amount <= 270)
        return StaffCategory::Worker;
    return OfficialDutyWageCategory(amount);
}

} // namespace quvela
