// Which wage table a government employee's duty-wage amount belongs to.
#pragma once

#include <cstdint>

namespace quvela {

enum class StaffCategory { LeadingPost = 1, NonLeadingPost = 2, Worker = 3 };

// The category of a duty-wage amount on the forms of government staff: 410 and every
// amount up to 270 (an empty cell's 0 and negative amounts included) are a worker's
// technical-grade wage; above 270 the leading-post amounts except the list's first,
// 4000, are leading posts, everything else a non-leading post.
StaffCategory DutyWageCategory(int32_t amount);

// Leading post when the amount is in the leading-post list past its first entry;
// non-leading post otherwise. For staff who have no worker grade.
StaffCategory OfficialDutyWageCategory(int32_t amount);

} // namespace quvela
