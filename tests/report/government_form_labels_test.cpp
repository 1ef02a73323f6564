// The amount labels of the government-staff forms and their move into the workers' column.
#include "report/government_form_labels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::report;

namespace {

const std::vector<std::string> kOld = {"l_gw1", "m_gw1", "l_xj1", "m_xj1", "l_ph1"};
const std::vector<std::string> kNew = {"l_gw2", "m_gw2", "l_xj2", "m_xj2", "l_ph2"};

struct Case
{
    const char *name;
    WageBlock block;
    const std::vector<std::string> &moved;
    const std::vector<std::string> &kept;
};

const Case kCases[] = {
    {"old_block", WageBlock::Old, kOld, kNew},
    {"new_block", WageBlock::New, kNew, kOld},
};

class WorkerMove : public testing::TestWithParam<Case>
{
};

TEST_P(WorkerMove, MovesOneBlockOnly)
{
    const Case &c = GetParam();
    ReportBand band("ColumnHeaderBand1", 161.9, 222.2);
    addGovernmentFormLabels(band);
    for (const std::string &name : c.moved) {
        const ReportLabel &l = band.label(name);
        EXPECT_DOUBLE_EQ(l.x, 48.2) << name;
        EXPECT_EQ(l.align, Align::Right) << name;
        EXPECT_FALSE(l.autoWidth) << name;
    }
    const double topBefore = band.label(c.moved[2]).y;

    moveAmountsToWorkerColumn(band, c.block, 143.9);

    for (const std::string &name : c.moved)
        EXPECT_DOUBLE_EQ(band.label(name).x, 143.9) << name;
    EXPECT_DOUBLE_EQ(band.label(c.moved[2]).y, topBefore);
    EXPECT_EQ(band.label(c.moved[0]).align, Align::Center);
    EXPECT_TRUE(band.label(c.moved[0]).autoWidth);
    // the amounts stay right-aligned in their new cells, with their design width
    for (std::size_t i = 1; i < c.moved.size(); ++i) {
        EXPECT_EQ(band.label(c.moved[i]).align, Align::Right) << c.moved[i];
        EXPECT_FALSE(band.label(c.moved[i]).autoWidth) << c.moved[i];
    }
    for (const std::string &name : c.kept) {
        EXPECT_DOUBLE_EQ(band.label(name).x, 48.2) << name;
        EXPECT_EQ(band.label(name).align, Align::Right) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, WorkerMove, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &param) { return std::string(param.param.name); });

TEST(GovernmentFormLabels, ReasonOfChangeIsBoldAndAsWideAsItsText)
{
    ReportBand band("ColumnHeaderBand1", 161.9, 222.2);
    addGovernmentFormLabels(band);
    EXPECT_TRUE(band.label("lb_bdyy").bold);
    EXPECT_TRUE(band.label("lb_bdyy").autoWidth);
    EXPECT_FALSE(band.label("l_xm").bold);
}

} // namespace
