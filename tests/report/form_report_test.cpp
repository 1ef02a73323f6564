#include "report/approval_form_frame.h"
#include "report/form_report.h"
#include "report/json_dump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::report;

namespace {

const ReportLabel *find(const RenderedPage &page, const std::string &name)
{
    for (const ReportLabel &l : page.labels)
        if (l.name == name)
            return &l;
    return nullptr;
}

TEST(FormReport, HandlerRunsWithTheFlagSetThenClearedAndThePageComesBetween)
{
    FormReport report;
    report.formBand().addLabel(dataLabel("v", 10, 10, 20, Align::Left));
    std::vector<bool> flags;
    report.setNeedData([&](bool &moreData) {
        flags.push_back(moreData);
        report.formBand().label("v").text = "call" + std::to_string(flags.size());
    });
    const RenderedPage page = report.run();
    EXPECT_EQ(flags, (std::vector<bool>{true, false}));
    ASSERT_NE(find(page, "v"), nullptr);
    EXPECT_EQ(find(page, "v")->text, "call1");
}

TEST(FormReport, HandlerThatClearsTheFlagStillGivesOnePage)
{
    FormReport report;
    int calls = 0;
    report.setNeedData([&](bool &moreData) {
        ++calls;
        moreData = false;
    });
    const RenderedPage page = report.run();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(page.widthMm, 182);
    EXPECT_EQ(page.heightMm, 257);
}

// Bands are placed at the margins in force, the form band right under the 13.5 mm page
// header, also where it runs past the bottom margin.
TEST(FormReport, PlacesBandsUnderTheMarginsInForce)
{
    struct Case
    {
        double left;
        double top;
    };
    for (const Case c : {Case{10, 10}, Case{15, 18}, Case{0, 0}}) {
        FormReport report;
        ReportLabel t = dataLabel("t", 2.1, 4.2, 156.9, Align::Center);
        report.titleBand().addLabel(t);
        report.formBand().addLabel(dataLabel("f", 81.5, 215.1, 0, Align::Left));
        report.formBand().addLine({2.1, 212.2, 159.0, 212.2, 0.26});
        report.page().margins.left = c.left;
        report.page().margins.top = c.top;
        const RenderedPage page = report.run();
        SCOPED_TRACE(c.top);
        EXPECT_DOUBLE_EQ(find(page, "t")->x, c.left + 2.1);
        EXPECT_DOUBLE_EQ(find(page, "t")->y, c.top + 4.2);
        EXPECT_DOUBLE_EQ(find(page, "f")->x, c.left + 81.5);
        EXPECT_DOUBLE_EQ(find(page, "f")->y, c.top + 13.5 + 215.1);
        ASSERT_EQ(page.lines.size(), 1u);
        EXPECT_DOUBLE_EQ(page.lines[0].x1, c.left + 2.1);
        EXPECT_DOUBLE_EQ(page.lines[0].x2, c.left + 159.0);
        EXPECT_DOUBLE_EQ(page.lines[0].y1, c.top + 13.5 + 212.2);
    }
}

TEST(FormReport, AutoWidthLabelsTakeTheWidthOfTheirText)
{
    FormReport report;
    ReportLabel a = dataLabel("a", 0, 0, 0, Align::Left);
    a.autoWidth = true;
    a.text = gbk::fromUtf8("正常晋升"); // 8 bytes: four ems
    report.formBand().addLabel(a);
    ReportLabel b = dataLabel("b", 0, 0, 12.2, Align::Right);
    b.text = "1234567890123456789"; // longer than its box: the box stays
    report.formBand().addLabel(b);
    const RenderedPage page = report.run();
    EXPECT_NEAR(find(page, "a")->width, 4 * 10 * 25.4 / 72, 1e-9);
    EXPECT_DOUBLE_EQ(find(page, "b")->width, 12.2);
}

TEST(FormReport, RenderingTwiceGivesTheSamePage)
{
    FormReport report;
    buildApprovalForm(report, kXjFormVariant);
    report.formBand().label("y1").text = gbk::fromUtf8("一行");
    EXPECT_EQ(pageJson(report.run()), pageJson(report.run()));
}

TEST(ReportBand, NamingAMissingLabelIsAnError)
{
    ReportBand band("b", 10, 10);
    EXPECT_FALSE(band.hasLabel("x"));
    EXPECT_THROW(band.label("x"), std::out_of_range);
}

} // namespace
