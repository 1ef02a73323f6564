// A JG roster saved as .xls by an independent writer: the forms read it as they read an
// .xlsx roster.
#include "jg/jg_roster.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace quvela;
using namespace quvela::test;

namespace {

class JgXlsRoster : public JgRosterTest
{
protected:
    void SetUp() override
    {
        const auto file = dir / "职务变动.xls";
        const std::string command = "/usr/bin/python3 '" QUVELA_SOURCE_DIR "/tests/jg/jg_roster_xls.py' '"
                                    + file.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        sheet.open(file);
        widthText = "1000";
    }
};

TEST_F(JgXlsRoster, DutyChange)
{
    const report::RenderedPage p = page(7);
    EXPECT_EQ(textOf(p, "l_xm"), "韩志刚");
    EXPECT_EQ(textOf(p, "l_gzny"), "1989.07");
    EXPECT_EQ(textOf(p, "l_gw1"), "1080");
    EXPECT_EQ(textOf(p, "l_gw2"), "1410");
    EXPECT_EQ(textOf(p, "l_ph2"), "2052");
    EXPECT_EQ(textOf(p, "y1"),
              "根据zar(2007)71号文件规定，拟同意该同志职务工资由(副处长 1080 元)晋升到(处长 1410 元)，级别工资"
              "由(16-3 档 582 元)晋升到(15-2 档 642 元)，月增资 390 元，从 2010 年 01 月起执行。");
}

TEST_F(JgXlsRoster, WorkerWithAOneDigitMonth)
{
    const report::RenderedPage p = page(8);
    EXPECT_EQ(textOf(p, "l_gw1"), "中级工");
    EXPECT_EQ(textOf(p, "m_gw1"), "155");
    EXPECT_NEAR(labelOf(p, "l_ph2").x, 15 + 143.9, 1e-9);
    EXPECT_EQ(textOf(p, "l_ny2"), "2009.4");
    EXPECT_EQ(textOf(p, "y1"),
              "根据zar(2007)71号文件规定，拟同意该同志技术等级工资由(中级工 155 元)晋升到(高级工 195 元），岗位工资"
              "不变，月增资 40 元，从 2009 年 05 月起执行。");
}

} // namespace
