// The index of the ranges formulas read must find exactly the ranges holding a cell,
// for ranges within one row (a roster's), tall ones and whole columns alike.

#include "spreadsheet/range_index.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace quvela::test {
namespace {

using spreadsheet::CellPosition;
using spreadsheet::CellRange;
using spreadsheet::RangeIndex;

TEST(RangeIndex, FindsWhatASearchOfEveryRangeFinds)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> row(1, 60);
    std::uniform_int_distribution<int> column(1, 12);
    std::vector<CellRange> ranges;
    for (int i = 0; i < 400; ++i) {
        const int r = row(random);
        const int c = column(random);
        switch (i % 4) {
        case 0: // within a row
        case 1:
            ranges.push_back({{r, c}, {r, c + column(random) / 3}});
            break;
        case 2: // tall
            ranges.push_back({{r, c}, {r + row(random), c + 1}});
            break;
        default: // a whole column
            ranges.push_back({{1, c}, {spreadsheet::kMaxRows, c}});
        }
    }
    RangeIndex index;
    for (uint32_t i = 0; i < ranges.size(); ++i)
        index.add(ranges[i], i);
    index.build();
    for (int r = 1; r <= 130; ++r) {
        for (int c = 1; c <= 16; ++c) {
            std::multiset<uint32_t> found;
            EXPECT_TRUE(index.find(CellPosition{r, c}, [&](uint32_t owner) {
                found.insert(owner);
                return true;
            }));
            std::multiset<uint32_t> wanted;
            for (uint32_t i = 0; i < ranges.size(); ++i) {
                if (ranges[i].contains(r, c))
                    wanted.insert(i);
            }
            ASSERT_EQ(found, wanted) << "row " << r << " column " << c;
        }
    }
    // Stopping at the first range found is reported.
    int calls = 0;
    EXPECT_FALSE(index.find(CellPosition{30, 5}, [&](uint32_t) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace quvela::test
