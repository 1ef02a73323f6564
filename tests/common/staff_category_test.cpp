#include "common/staff_category.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quvela;

namespace {

struct Case
{
    int32_t amount;
    StaffCategory withWorkers;
    StaffCategory withoutWorkers;
};

constexpr auto L = StaffCategory::LeadingPost;
constexpr auto N = StaffCategory::NonLeadingPost;
constexpr auto W = StaffCategory::Worker;

const Case kCases[] = {
    {830, L, L},  {640, L, L},  {3200, L, L}, {430, L, L},  {510, L, L},
    {4000, N, N}, // first entry of the leading-post list
    {590, N, N},  {760, N, N},  {431, N, N},  {271, N, N},
    {410, W, N},  // above 270, yet the top technical grade
    {270, W, N},  {200, W, N},  {125, W, N},  {0, W, N},    {-830, W, N},
    {INT_MIN, W, N}, {INT_MAX, N, N},
};

class StaffCategoryOf : public testing::TestWithParam<Case>
{
};

TEST_P(StaffCategoryOf, Amount)
{
    EXPECT_EQ(DutyWageCategory(GetParam().amount), GetParam().withWorkers);
    EXPECT_EQ(OfficialDutyWageCategory(GetParam().amount), GetParam().withoutWorkers);
}

INSTANTIATE_TEST_SUITE_P(Cases, StaffCategoryOf, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &p) {
                             const int32_t a = p.param.amount;
                             return (a < 0 ? "minus" : "") + std::to_string(a < 0 ? -int64_t{a} : a);
                         });

} // namespace
