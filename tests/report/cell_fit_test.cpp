// Values wider than their cells: each stays whole between the rules around it, condensed
// first and set smaller past the legible limit; values that fit are drawn as designed.
#include "report/approval_form_frame.h"
#include "report/cell_fit.h"
#include "report/gui_app.h"
#include "report/json_dump.h"
#include "report/page_image.h"
#include "report/text_export.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::report;

namespace {

constexpr double kStroke = 25.4 / 96; // the frame's rules
// The frame's rules stand on its 96 dpi design grid.
double onGrid(double mm) { return std::round(mm / kStroke) * kStroke; }
constexpr double kMmPerPoint = 25.4 / 72;
// Where the form band's corner lies on the paper with the margins in force.
constexpr double kBandX = 15;
constexpr double kBandY = 18 + 13.5;

std::string repeated(const char *utf8, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += utf8;
    return s;
}

struct Placed
{
    const char *name;
    double x;
    double y;
    double width; // 0: automatic width
    Align align;
    std::string text; // UTF-8
};

// A form of the shared frame with labels placed as a form places them, rendered as the
// forms are: through FormReport, at the margins in force.
RenderedPage formWith(const ApprovalFormVariant &variant, const std::vector<Placed> &labels)
{
    FormReport report;
    buildApprovalForm(report, variant);
    report.page().margins.left = 15;
    report.page().margins.top = 18;
    ReportBand &band = report.formBand();
    for (const Placed &p : labels) {
        if (!band.hasLabel(p.name)) {
            ReportLabel l = dataLabel(p.name, p.x, p.y, p.width, p.align);
            l.autoWidth = p.width == 0;
            band.addLabel(std::move(l));
        }
        band.label(p.name).text = gbk::fromUtf8(p.text);
    }
    return report.run();
}

QJsonObject dumpedLabel(const RenderedPage &page, const std::string &name)
{
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(pageJson(page))).object();
    for (const QJsonValue v : doc.value(QLatin1String("labels")).toArray())
        if (v.toObject().value(QLatin1String("name")).toString().toStdString() == name)
            return v.toObject();
    ADD_FAILURE() << "no label " << name;
    return {};
}

double num(const QJsonObject &o, const char *key)
{
    EXPECT_TRUE(o.contains(QLatin1String(key))) << key;
    return o.value(QLatin1String(key)).toDouble();
}

// ---- the cell of a label ---------------------------------------------------------------

struct CellCase
{
    const char *name;
    ApprovalFormVariant variant;
    Placed label;
    double leftRule; // band millimetres: the cell runs from this rule's stroke ...
    double rightRule; // ... to this rule
};

const CellCase kCellCases[] = {
    {"name_cell", kXjFormVariant, {"l_xm", 19.3, 1.6, 14.3, Align::Left, "冯晨"}, 16.9, 38.1},
    {"post_in_row_3", kXjFormVariant, {"zw0", 128.6, 16.1, 29.6, Align::Left, "x"}, 126.5, 158.8},
    {"grade_before_its_suffix", kXjFormVariant, {"l_gw2", 91.8, 105.6, 12.2, Align::Right, "x"}, 91.5, 108.5},
    {"centred_print_date", kXjFormVariant, {"Lb_year", 0, 0, 0, Align::Left, "x"}, 16.9, 158.8},
    {"wording_line", kZwFormVariant, {"y1", 0, 0, 0, Align::Left, "x"}, 16.9, 158.8},
    {"issuer_below_the_frame", kXjFormVariant, {"lb_area", 0, 0, 0, Align::Left, "x"}, 2.1, 158.8},
    {"duty_wage_of_government_staff", kGovernmentFormVariant, {"l_gw1", 48.2, 36.0, 12.2, Align::Right, "x"}, 45.5, 61.4},
    {"amount_moved_to_workers", kGovernmentFormVariant, {"m_gw2", 143.4, 113.0, 12.2, Align::Right, "x"}, 142.3, 158.8},
    {"grade_moved_centred_auto", kGovernmentFormVariant, {"l_gw2", 143.4, 105.6, 0, Align::Center, "x"}, 142.3, 158.8},
    {"label_starting_on_a_rule", kXjFormVariant, {"m_xj1", 143.9, 57.1, 12.2, Align::Left, "x"}, 143.9, 158.8},
};

class LabelCell : public testing::TestWithParam<CellCase>
{
};

TEST_P(LabelCell, IsBetweenTheRulesAroundIt)
{
    const CellCase &c = GetParam();
    const QJsonObject l = dumpedLabel(formWith(c.variant, {c.label}), c.label.name);
    EXPECT_NEAR(num(l, "cell_x1_mm") - kBandX, onGrid(c.leftRule) + kStroke, 0.001);
    EXPECT_NEAR(num(l, "cell_x2_mm") - kBandX, onGrid(c.rightRule), 0.001);
}

INSTANTIATE_TEST_SUITE_P(Forms, LabelCell, testing::ValuesIn(kCellCases),
                         [](const testing::TestParamInfo<CellCase> &p) { return std::string(p.param.name); });

TEST(LabelCell, OnAPageWithoutRulesIsThePaper)
{
    RenderedPage page;
    ReportLabel l = dataLabel("v", 20, 20, 30, Align::Left);
    l.text = "x";
    page.labels.push_back(l);
    fitLabelsToCells(page);
    EXPECT_EQ(page.labels[0].cellX1, 0);
    EXPECT_EQ(page.labels[0].cellX2, 182);
}

// ---- long values -----------------------------------------------------------------------

const std::string kPost30 = "中学高级教师兼教务处副主任科员"; // 15 characters, 30 bytes
const std::string kGrade20 = "专技专业技术岗位十级";         // category and a 16-byte grade
const std::string kLine120 = repeated("根据文件规定，拟同意", 6); // 120 bytes

struct LongCase
{
    const char *name;
    ApprovalFormVariant variant;
    Placed label;
    bool smaller; // condensing to the legible limit is not enough
};

const LongCase kLongCases[] = {
    {"post_row_3", kXjFormVariant, {"zw0", 128.6, 16.1, 29.6, Align::Left, kPost30}, true},
    {"old_unit_and_post", kXjFormVariant, {"zw1", 62.7, 22.2, 43.4, Align::Left, kPost30}, false},
    {"present_unit_and_post", kZwFormVariant, {"zw2", 63.0, 90.5, 43.1, Align::Left, kPost30}, false},
    {"grade_right_aligned", kXjFormVariant, {"l_gw2", 91.8, 105.6, 12.2, Align::Right, kGrade20}, true},
    {"grade_moved_centred_auto", kGovernmentFormVariant, {"l_gw1", 143.4, 36.0, 0, Align::Center, kGrade20}, true},
    {"largest_amount", kXjFormVariant, {"m_xj2", 93.1, 125.7, 13.0, Align::Right, "-2147483648"}, false},
    {"education_centred", kXjFormVariant, {"l_whcd", 92.3, 1.6, 20.1, Align::Center, repeated("研", 8)}, false},
    {"reason_auto", kGovernmentFormVariant, {"lb_bdyy", 24.6, 15.3, 0, Align::Left, repeated("晋", 12)}, false},
    {"wording_xj_line_1", kXjFormVariant, {"y1", 0, 0, 0, Align::Left, kLine120}, false},
    {"wording_indented_line_1", kZwFormVariant, {"y1", 0, 0, 0, Align::Left, kLine120}, false},
    {"wording_line_4", kGovernmentFormVariant, {"y4", 0, 0, 0, Align::Left, kLine120}, false},
    {"issuer", kXjFormVariant, {"lb_area", 0, 0, 0, Align::Left, repeated("工资处", 10)}, false},
};

class LongValue : public testing::TestWithParam<LongCase>
{
};

TEST_P(LongValue, StaysWholeInsideItsCell)
{
    const LongCase &c = GetParam();
    const RenderedPage page = formWith(c.variant, {c.label});
    const QJsonObject l = dumpedLabel(page, c.label.name);
    const ReportLabel *designed = nullptr;
    for (const ReportLabel &r : page.labels)
        if (r.name == c.label.name)
            designed = &r;
    ASSERT_NE(designed, nullptr);

    EXPECT_EQ(l.value(QLatin1String("text")).toString().toStdString(), c.label.text);
    const double x1 = num(l, "cell_x1_mm"), x2 = num(l, "cell_x2_mm");
    const double left = num(l, "drawn_x_mm"), width = num(l, "drawn_width_mm");
    EXPECT_GE(left, x1 - 0.001);
    EXPECT_LE(left + width, x2 + 0.001);
    // tied to its anchor, and a clearance from the rule it would have crossed
    switch (c.label.width == 0 ? Align::Left : c.label.align) {
    case Align::Left:
        EXPECT_NEAR(left, designed->x, 0.001);
        EXPECT_NEAR(left + width, x2 - kCellClearanceMm, 0.002);
        break;
    case Align::Right:
        EXPECT_NEAR(left + width, designed->x + designed->width, 0.002);
        EXPECT_NEAR(left, x1 + kCellClearanceMm, 0.002);
        break;
    case Align::Center:
        EXPECT_NEAR(left + width / 2, designed->x + designed->width / 2, 0.002);
        break;
    }
    // where it was designed, and as much of the face as is legible
    EXPECT_NEAR(num(l, "x_mm"), designed->x, 0.001);
    EXPECT_NEAR(num(l, "y_mm"), designed->y, 0.001);
    const double stretch = num(l, "stretch"), size = num(l, "drawn_size_pt");
    EXPECT_LT(stretch, 1);
    EXPECT_GE(stretch, kLegibleStretch);
    if (c.smaller) {
        EXPECT_DOUBLE_EQ(stretch, kLegibleStretch);
        EXPECT_LT(size, num(l, "size_pt"));
    } else {
        EXPECT_EQ(size, num(l, "size_pt"));
    }
    // the width drawn is the text's width at that size and stretch
    const double bytes = static_cast<double>(gbk::fromUtf8(c.label.text).size());
    EXPECT_NEAR(width, bytes * size * kMmPerPoint / 2 * stretch, 0.03);
}

INSTANTIATE_TEST_SUITE_P(Forms, LongValue, testing::ValuesIn(kLongCases),
                         [](const testing::TestParamInfo<LongCase> &p) { return std::string(p.param.name); });

// ---- the rule in one cell --------------------------------------------------------------

// A left-aligned label 40 mm from its cell's right rule, with texts of growing length.
struct RuleCase
{
    int bytes;
    double stretch;
    double sizePt;
};

TEST(FitRule, CondensesToTheLegibleLimitThenSetsSmaller)
{
    const double room = 40;
    const double perByte = 10 * kMmPerPoint / 2;
    const double target = room - kCellClearanceMm;
    const int atLimit = static_cast<int>(target / kLegibleStretch / perByte); // 37 bytes
    const RuleCase cases[] = {
        {22, 1, 10},                                             // 38.8 mm: fits
        {23, target / (23 * perByte), 10},                       // 40.6 mm: a little condensed
        {atLimit, target / (atLimit * perByte), 10},             // just above the limit
        {2 * atLimit, kLegibleStretch, 10 * target / (2 * atLimit * perByte) / kLegibleStretch},
        {200, kLegibleStretch, 10 * target / (200 * perByte) / kLegibleStretch},
    };
    for (const RuleCase &c : cases) {
        SCOPED_TRACE(c.bytes);
        RenderedPage page;
        page.lines.push_back({10, 0, 10, 50, kStroke});
        page.lines.push_back({60, 0, 60, 50, kStroke});
        ReportLabel l = dataLabel("v", 20, 20, 30, Align::Left);
        l.text = std::string(static_cast<std::size_t>(c.bytes), 'x');
        page.labels.push_back(l);
        fitLabelsToCells(page);
        const ReportLabel &fitted = page.labels[0];
        EXPECT_NEAR(fitted.stretch, c.stretch, 1e-9);
        EXPECT_NEAR(drawnSizePt(fitted), c.sizePt, 1e-9);
        EXPECT_LE(fitted.x + drawnWidthMm(fitted), 60 + 1e-9);
        // a smaller text keeps the middle of the line where the designed size has it
        EXPECT_NEAR(drawnTopMm(fitted) + drawnSizePt(fitted) * kMmPerPoint / 2, 20 + 10 * kMmPerPoint / 2, 1e-9);
    }
}

// Captions are the form's own text and are drawn as the form designs them.
TEST(FitRule, LeavesCaptionsAsDesigned)
{
    RenderedPage page;
    page.lines.push_back({10, 0, 10, 50, kStroke});
    page.lines.push_back({30, 0, 30, 50, kStroke});
    ReportLabel caption;
    caption.x = 12;
    caption.y = 10;
    caption.height = 4.5;
    caption.autoWidth = true;
    caption.text = std::string(20, 'x');
    caption.width = textWidthMm(caption.text, caption.sizePt);
    page.labels.push_back(caption);
    fitLabelsToCells(page);
    EXPECT_EQ(page.labels[0].stretch, 1);
    EXPECT_EQ(drawnSizePt(page.labels[0]), 10);
    EXPECT_NEAR(page.labels[0].cellX2, 30, 1e-9);
}

// ---- values that fit -------------------------------------------------------------------

TEST(FittingValue, KeepsItsDesignedSizeWidthAndPlace)
{
    const double natural4 = 4 * 10 * kMmPerPoint / 2; // "1027"
    struct Case
    {
        Placed label;
        double drawnLeft; // band millimetres
    };
    const Case cases[] = {
        {{"l_ph2", 93.7, 146.6, 12.2, Align::Right, "1027"}, 93.7 + 12.2 - natural4},
        {{"l_xb", 63.2, 1.3, 12.7, Align::Center, "1027"}, 63.2 + (12.7 - natural4) / 2},
        {{"l_xm", 19.3, 1.6, 14.3, Align::Left, "1027"}, 19.3},
        {{"y1", 19.1, 154.5, 0, Align::Left, "1027"}, 19.1},
        // ends 0.1 mm before the right rule: no clearance is forced on a text that fits
        {{"zw0", 158.8 - 0.1 - 10 * 10 * kMmPerPoint / 2, 16.1, 29.6, Align::Left, "1234567890"},
         158.8 - 0.1 - 10 * 10 * kMmPerPoint / 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label.name);
        const QJsonObject l = dumpedLabel(formWith(kXjFormVariant, {c.label}), c.label.name);
        EXPECT_EQ(num(l, "stretch"), 1);
        EXPECT_EQ(num(l, "drawn_size_pt"), 10);
        const double bytes = static_cast<double>(c.label.text.size());
        EXPECT_NEAR(num(l, "drawn_width_mm"), bytes * 10 * kMmPerPoint / 2, 0.001);
        EXPECT_NEAR(num(l, "drawn_x_mm") - kBandX, c.drawnLeft, 0.001);
    }
}

// The text export reads a fitted value where the paper shows it: a grade condensed into
// its cell stays between its caption and the printed "级" after it.
TEST(FittedValue, IsExportedWhereItIsDrawn)
{
    const std::string grade = "专技" + repeated("等", 8);
    const RenderedPage page = formWith(kXjFormVariant, {{"l_gw1", 92.1, 36.0, 12.2, Align::Right, grade}});
    const std::string text = pageText(page);
    // the row reads caption, grade, its "级", then the workers' caption
    const std::size_t caption = text.find("岗  位");
    const std::size_t value = text.find(grade, caption);
    const std::size_t suffix = text.find("级", value + grade.size());
    const std::size_t workers = text.find("技术等级", caption);
    ASSERT_NE(value, std::string::npos) << text;
    EXPECT_EQ(text.find(grade), value) << text;
    EXPECT_LT(suffix, workers) << text;
}

// ---- painted ---------------------------------------------------------------------------

class PaintedFit : public testing::Test
{
protected:
    void SetUp() override { test::ensureGuiApplication(); }
};

// The face's advances are whole pixels, up to a few per cent off the layout's count, so
// at some resolutions a text that the layout fits would still cross the rule if the
// painter did not hold it to its cell.
TEST_F(PaintedFit, InkStaysBetweenTheRulesAtEveryResolution)
{
    const double natural80 = 80 * 10 * kMmPerPoint / 2;
    struct Case
    {
        const char *name;
        double x;
        double width;
        Align align;
        std::string text;
    };
    const Case cases[] = {
        {"fits_by_the_layout", 170 - natural80 - 0.02, 150, Align::Left, repeated("工资", 20)},
        {"long_left", 22, 40, Align::Left, repeated("工资", 50)},
        {"long_right", 100, 60, Align::Right, repeated("薪级", 50)},
        {"long_centred", 40, 100, Align::Center, repeated("一二三四五", 12)},
    };
    for (const Case &c : cases) {
        RenderedPage page;
        page.lines.push_back({10, 0, 10, 30, kStroke});
        page.lines.push_back({170, 0, 170, 30, kStroke});
        ReportLabel l = dataLabel("v", c.x, 10, c.width, c.align);
        l.text = gbk::fromUtf8(c.text);
        page.labels.push_back(l);
        fitLabelsToCells(page);
        const ReportLabel &fitted = page.labels[0];
        const double drawnLeft = drawnLeftMm(fitted, drawnWidthMm(fitted));
        const double drawnRight = drawnLeft + drawnWidthMm(fitted);
        for (const double dpi : {50.0, 96.0, 150.0, 254.0, 300.0, 600.0}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(static_cast<int>(dpi)) + " dpi");
            const QImage image = renderPageImage(page, dpi);
            const double dotsPerMm = dpi / 25.4;
            // the ink of the text: between the rules' strokes, rows of the label's line
            int inkLeft = image.width(), inkRight = -1, outside = 0;
            const int ruleA = static_cast<int>(std::floor(10 * dotsPerMm));
            const int ruleAEnd = static_cast<int>(std::ceil((10 + kStroke) * dotsPerMm));
            const int ruleB = static_cast<int>(std::floor(170 * dotsPerMm));
            const int ruleBEnd = static_cast<int>(std::ceil((170 + kStroke) * dotsPerMm));
            for (int y = static_cast<int>(9 * dotsPerMm); y < static_cast<int>(15 * dotsPerMm); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    if (qGray(image.pixel(x, y)) >= 250 || (x >= ruleA && x <= ruleAEnd) || (x >= ruleB && x <= ruleBEnd))
                        continue;
                    if (x < ruleA || x > ruleBEnd)
                        ++outside;
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
            EXPECT_EQ(outside, 0);
            ASSERT_GE(inkRight, 0) << "nothing painted";
            // a fitted text is painted as wide as the layout fitted it: whole, and no wider
            if (isFitted(fitted)) {
                EXPECT_NEAR(inkLeft / dotsPerMm, drawnLeft, 0.6);
                EXPECT_NEAR((inkRight + 1) / dotsPerMm, drawnRight, 0.6);
            }
        }
    }
}

// The fit changes nothing for values that fit: the page paints as it does with no fit.
TEST_F(PaintedFit, ValuesThatFitPaintAsWithoutTheFit)
{
    const RenderedPage page = formWith(kGovernmentFormVariant,
                                       {{"zw1", 62.7, 22.2, 43.4, Align::Left, "二级教师"},
                                        {"l_gw1", 48.2, 36.0, 12.2, Align::Right, "1080"},
                                        {"l_gw2", 143.4, 105.6, 0, Align::Center, "技术员"},
                                        {"l_xb", 63.2, 1.3, 12.7, Align::Center, "男"},
                                        {"y1", 0, 0, 0, Align::Left, "    根据ZAR(2007)71号文件规定，拟同意该同志"},
                                        {"lb_area", 0, 0, 0, Align::Left, "vodeve工资处制"}});
    RenderedPage unfitted = page;
    for (ReportLabel &l : unfitted.labels) {
        EXPECT_FALSE(isFitted(l)) << l.name;
        l.cellX1 = l.cellX2 = 0;
    }
    for (const double dpi : {96.0, 254.0}) {
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(renderPageImage(page, dpi) == renderPageImage(unfitted, dpi));
    }
}

} // namespace
