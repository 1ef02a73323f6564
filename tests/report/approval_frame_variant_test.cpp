// What the forms of the four tools change in the shared frame.
#include "report/approval_form_frame.h"
#include "report/label_place.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

using namespace quvela;
using namespace quvela::report;

namespace {

constexpr double kTolerance = 0.05;

int verticalsAt(const ReportBand &band, double x, double y1, double y2)
{
    int n = 0;
    for (const RuledLine &l : band.lines())
        if (l.x1 == l.x2 && std::abs(l.x1 - x) <= kTolerance && std::abs(l.y1 - y1) <= kTolerance
            && std::abs(l.y2 - y2) <= kTolerance)
            ++n;
    return n;
}

const ReportLabel *caption(const ReportBand &band, const char *utf8)
{
    for (const ReportLabel &l : band.labels())
        if (l.name.empty() && l.text == gbk::fromUtf8(utf8))
            return &l;
    return nullptr;
}

int captionCount(const ReportBand &band, const char *utf8)
{
    int n = 0;
    for (const ReportLabel &l : band.labels())
        if (l.name.empty() && l.text == gbk::fromUtf8(utf8))
            ++n;
    return n;
}

struct Case
{
    const char *name;
    ApprovalFormVariant variant;
    double workerX;
    double studyCaptionX;
    int gradeSuffixes;
    int lines;
    double y1x;
    double y1y;
    double dateY;
};

const Case kCases[] = {
    {"xj", kXjFormVariant, 143.9, 114.6, 2, 3, 19.1, 154.5, 175.9},
    {"zw", kZwFormVariant, 143.9, 114.6, 2, 4, 26.5, 153.5, 177.0},
    {"jb_jg", kGovernmentFormVariant, 142.3, 113.8, 0, 4, 26.5, 153.5, 177.0},
};

class FrameVariant : public testing::TestWithParam<Case>
{
};

TEST_P(FrameVariant, ChangesOnlyWhatTheFormNeeds)
{
    const Case &c = GetParam();
    FormReport report;
    buildApprovalForm(report, c.variant);
    const ReportBand &band = report.formBand();

    // the workers' value column in row 1 and in both wage blocks
    EXPECT_EQ(verticalsAt(band, c.workerX, 0, 6.9), 1);
    EXPECT_EQ(verticalsAt(band, c.workerX, 34.4, 89.2), 1);
    EXPECT_EQ(verticalsAt(band, c.workerX, 103.2, 151.3), 1);
    const double other = c.workerX == 143.9 ? 142.3 : 143.9;
    EXPECT_EQ(verticalsAt(band, other, 0, 6.9), 0);
    ASSERT_NE(caption(band, "不算工龄学习年限"), nullptr);
    EXPECT_NEAR(caption(band, "不算工龄学习年限")->x, c.studyCaptionX, kTolerance);

    EXPECT_EQ(captionCount(band, "级"), c.gradeSuffixes);

    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(band.hasLabel("y" + std::to_string(i)), i <= c.lines) << i;
    EXPECT_NEAR(band.label("y1").x, c.y1x, kTolerance);
    EXPECT_NEAR(band.label("y1").y, c.y1y, kTolerance);
    if (c.lines == 4) {
        EXPECT_NEAR(band.label("y2").y, 159.3, kTolerance);
        EXPECT_NEAR(band.label("y3").y, 165.1, kTolerance);
        EXPECT_NEAR(band.label("y4").y, 170.9, kTolerance);
    }
    const ReportLabel &date = band.label("Lb_year");
    EXPECT_NEAR(date.x, 114.3, kTolerance);
    EXPECT_NEAR(date.y, c.dateY, kTolerance);
    EXPECT_NEAR(date.width, 42.6, kTolerance);
    EXPECT_EQ(date.align, Align::Center);
    const ReportLabel &area = band.label("lb_area");
    EXPECT_NEAR(area.x, 81.5, kTolerance);
    EXPECT_NEAR(area.y, 215.1, kTolerance);
    EXPECT_EQ(area.sizePt, 9);
    EXPECT_TRUE(area.autoWidth);
}

INSTANTIATE_TEST_SUITE_P(Forms, FrameVariant, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

// The issuing-office line is the lowest text of the form and ends 250 mm below the
// paper's top edge, inside the bottom margin: both bands still print on the one page.
TEST(ApprovalFrame, LastTextEndsTwoHundredFiftyMillimetresDown)
{
    FormReport report;
    buildApprovalForm(report, kXjFormVariant);
    report.page().margins.left = 15;
    report.page().margins.top = 18;
    report.formBand().label("lb_area").text = "x";
    const RenderedPage page = report.run();
    double lowest = 0;
    for (const ReportLabel &l : page.labels)
        lowest = std::max(lowest, l.y + l.height);
    EXPECT_NEAR(lowest, 250.0, kTolerance);
    EXPECT_GT(lowest, 257 - 10);
}

TEST(ApprovalFrame, PersonCellsWithTheYearMonthsAsPrinted)
{
    FormReport report;
    buildApprovalForm(report, kZwFormVariant);
    ReportBand &band = report.formBand();
    addDataLabels(band, std::array<LabelPlace, 6>{{{"l_xm", 0, 0, 10, Align::Left},
                                                   {"l_xb", 0, 0, 10, Align::Left},
                                                   {"l_whcd", 0, 0, 10, Align::Left},
                                                   {"l_csny", 0, 0, 10, Align::Left},
                                                   {"l_gzny", 0, 0, 10, Align::Left},
                                                   {"l_tsny", 0, 0, 10, Align::Left}}});
    fillPersonCells(band, {gbk::fromUtf8("林晓明"), gbk::fromUtf8("男"), gbk::fromUtf8("大学"), "197805", "1998.07",
                           "199807"});
    EXPECT_EQ(gbk::toUtf8(band.label("l_xm").text), "林晓明");
    EXPECT_EQ(gbk::toUtf8(band.label("l_xb").text), "男");
    EXPECT_EQ(gbk::toUtf8(band.label("l_whcd").text), "大学");
    EXPECT_EQ(band.label("l_csny").text, "1978.05");
    EXPECT_EQ(band.label("l_gzny").text, "1998.07");
    EXPECT_EQ(band.label("l_tsny").text, "1998.07");
}

TEST(ApprovalFrame, DateAndIssuerUnderTheWording)
{
    struct DateCase
    {
        QDate date;
        const char *text;
    };
    const DateCase cases[] = {
        {QDate(2010, 3, 5), "2010 年 3 月 5 日"},
        {QDate(2009, 12, 31), "2009 年 12 月 31 日"},
    };
    for (const DateCase &c : cases) {
        FormReport report;
        buildApprovalForm(report, kGovernmentFormVariant);
        ReportBand &band = report.formBand();
        fillDateAndIssuer(band, c.date, gbk::fromUtf8("某市人社局制"));
        EXPECT_EQ(gbk::toUtf8(band.label("Lb_year").text), c.text);
        EXPECT_EQ(gbk::toUtf8(band.label("lb_area").text), "某市人社局制");
    }
}

} // namespace
