// The date of taking up the new post: the appraisal year, the dotted date and the month
// the change takes effect, the month after it.
#include "common/errors.h"
#include "jg/jg_roster.h"

#include <gtest/gtest.h>

using namespace quvela;
using namespace quvela::test;

namespace {

struct Case
{
    const char *name;
    Cell since;          // column H
    const char *ndkh;    // lb_ndkh
    const char *dotted;  // l_ny2
    const char *ending;  // end of the wording
};

const Case kCases[] = {
    {"december_rolls_into_next_year", 200912.0, "2009", "2009.12", "从 2010 年 01 月起执行。"},
    {"may_gives_june", std::string("200905"), "2009", "2009.05", "从 2009 年 06 月起执行。"},
    // five bytes, yyyym: dotted to 2009.5 and still read as May
    {"one_digit_month", 20095.0, "2009", "2009.5", "从 2009 年 06 月起执行。"},
    {"one_digit_month_as_text", std::string("20099"), "2009", "2009.9", "从 2009 年 10 月起执行。"},
    {"typed_with_a_dot", std::string("2009.11"), "2009", "2009.11", "从 2009 年 12 月起执行。"},
    {"typed_with_a_dot_and_one_digit", std::string("2010.1"), "2010", "2010.1", "从 2010 年 02 月起执行。"},
    {"blanks_around", std::string(" 200907 "), " 200", "2009.07", "从 2009 年 08 月起执行。"},
    // outside the years and months the office handles: left blank for the clerk
    {"year_out_of_range", 189912.0, "1899", "1899.12", "从  年  月起执行。"},
    {"month_thirteen", std::string("200913"), "2009", "2009.13", "从  年  月起执行。"},
    {"month_zero", std::string("200900"), "2009", "2009.00", "从  年  月起执行。"},
};

class JgStartMonth : public JgRosterTest
{
protected:
    void SetUp() override
    {
        std::vector<SheetRow> rows;
        int row = 7;
        for (const Case &c : kCases)
            rows.push_back({row++, with(dutyChange(), {{jg::column::NewPostSince, c.since}})});
        rows.push_back({row++, with(dutyChange(), {{jg::column::NewPostSince, std::string("二〇〇九年")}})});
        rows.push_back({row++, with(dutyChange(), {{jg::column::NewPostSince, Cell{}}})});
        writeAndOpen(rows);
        widthText = "1000";
    }
};

TEST_F(JgStartMonth, EachCase)
{
    int row = 7;
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        const report::RenderedPage p = page(row++);
        EXPECT_EQ(textOf(p, "lb_ndkh"), c.ndkh);
        EXPECT_EQ(textOf(p, "l_ny2"), c.dotted);
        const std::string wording = textOf(p, "y1");
        const std::string ending = c.ending;
        ASSERT_GE(wording.size(), ending.size());
        EXPECT_EQ(wording.substr(wording.size() - ending.size()), ending);
    }
}

// A date whose year or month is no number stops the form with the conversion's message.
TEST_F(JgStartMonth, DateThatIsNoNumberStopsTheForm)
{
    const int words = 7 + static_cast<int>(std::size(kCases));
    for (int row : {words, words + 1}) {
        SCOPED_TRACE(row);
        try {
            page(row);
            ADD_FAILURE() << "the form was made";
        } catch (const ConversionError &e) {
            EXPECT_NE(e.message().find("is not a valid integer value"), std::string::npos);
        }
    }
}

} // namespace
