// The XJ approval form: its layout as the JSON dump shows it on the paper, checked
// against the form's coordinate tables, and the filled wording byte for byte.
#include "report/json_dump.h"
#include "support/page_labels.h"
#include "xj/xj_form.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::xj;
using quvela::test::textOf;

namespace {

constexpr double kTolerance = 0.05 + 1e-9;
// Where the form band's top-left corner lies on the paper: the left margin, and the top
// margin plus the 13.5 mm page header.
constexpr double kBandX = 15;
constexpr double kBandY = 18 + 13.5;

XjRecord examplePerson()
{
    XjRecord r;
    r.xm = gbk::fromUtf8("冯晨");
    r.xb = gbk::fromUtf8("男");
    r.whcd = gbk::fromUtf8("大学");
    r.csny = "196507";
    r.gzny = "19857";
    r.tsny = "1985.07";
    r.ndkh = gbk::fromUtf8("合格");
    r.xrzw = gbk::fromUtf8("二级教师");
    r.zwny = "200901";
    r.zwlb = 2;
    r.gwdj1 = "10";
    r.gwdj2 = "10";
    r.gwgz1 = 590;
    r.gwgz2 = 590;
    r.xjdj1 = 14;
    r.xjgz1 = 377;
    r.xjdj2 = 15;
    r.xjgz2 = 412;
    r.bf101 = 0;
    r.bf102 = 25;
    r.heji1 = 967;
    r.heji2 = 1027;
    r.zzhj = 60;
    return r;
}

TXtcs exampleSettings()
{
    TXtcs s;
    s.FileNo = "zar(2007)50";
    s.Year = 2010;
    s.PrintDate = QDateTime(QDate(2010, 4, 8), QTime(0, 0));
    s.Issuer = gbk::fromUtf8("vodeve工资处制");
    return s;
}

QJsonObject dumpedPage(const XjRecord &row, const TXtcs &settings)
{
    TXjPrnForm form(row, settings);
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(report::pageJson(form.run())));
    return doc.object();
}

bool near(double a, double b) { return std::abs(a - b) <= kTolerance; }

// ---- ruled lines, millimetres from the form band's corner ----------------------------

struct Rule
{
    char dir; // 'h' or 'v'
    double at;
    double from;
    double to;
};

std::vector<Rule> expectedRules()
{
    std::vector<Rule> r;
    auto h = [&](double y, double x1, double x2) { r.push_back({'h', y, x1, x2}); };
    auto v = [&](double x, double y1, double y2) { r.push_back({'v', x, y1, y2}); };
    const double right = 159.0; // where the right rule's stroke ends
    // outer frame, label column, rows across the whole form
    for (double y : {0.0, 6.9, 13.8, 20.6, 89.2, 151.3, 182.0, 212.2})
        h(y, 2.1, right);
    for (double x : {2.1, 16.9, 158.8})
        v(x, 0, 212.2);
    // rows 1 to 3
    for (double x : {38.1, 61.4, 76.7, 91.5, 113.2, 143.9})
        v(x, 0, 6.9);
    for (double x : {38.1, 61.4, 91.5, 126.5})
        v(x, 6.9, 13.8);
    for (double x : {61.4, 91.5, 108.5, 126.5})
        v(x, 13.8, 20.6);

    // the two wage blocks: block B has the rows of block A without the probation row
    struct Block
    {
        double top, unitRow, headRow, r1, r2, r3, r4, r5, r6, rest[2], bottom;
    };
    const Block blocks[] = {
        {20.6, 27.5, 34.4, 41.3, 48.2, 55.0, 61.9, 68.8, 75.7, {82.6, -1}, 89.2},
        {89.2, 96.3, 103.2, 110.1, 116.9, 123.8, 130.7, 137.6, 144.5, {-1, -1}, 151.3},
    };
    for (const Block &b : blocks) {
        v(61.4, b.top, b.bottom);
        v(108.5, b.top, b.bottom);
        v(126.5, b.top, b.unitRow);
        h(b.unitRow, 16.9, right);
        h(b.headRow, 16.9, right);
        for (double x : {45.5, 91.5, 143.9})
            v(x, b.headRow, b.bottom);
        v(30.7, b.r2, b.r4);
        v(77.3, b.headRow, b.r4);
        v(126.5, b.headRow, b.r4);
        h(b.r1, 16.9, 61.4);
        h(b.r3, 30.7, 61.4);
        for (double y : {b.r1, b.r3}) {
            h(y, 77.3, 108.5);
            h(y, 126.5, right);
        }
        for (double y : {b.r2, b.r4, b.r5, b.r6, b.rest[0]})
            if (y > 0)
                h(y, 16.9, right);
    }
    return r;
}

TEST(XjFormLayout, RuledLinesAreWhereTheFormPutsThem)
{
    const QJsonObject page = dumpedPage(examplePerson(), exampleSettings());
    EXPECT_EQ(page.value(QLatin1String("width_mm")).toDouble(), 182);
    EXPECT_EQ(page.value(QLatin1String("height_mm")).toDouble(), 257);
    const QJsonArray lines = page.value(QLatin1String("lines")).toArray();
    std::vector<bool> used(static_cast<std::size_t>(lines.size()), false);
    const std::vector<Rule> rules = expectedRules();
    for (const Rule &rule : rules) {
        bool found = false;
        for (qsizetype i = 0; i < lines.size() && !found; ++i) {
            const QJsonObject l = lines[i].toObject();
            const double x1 = l.value(QLatin1String("x1_mm")).toDouble() - kBandX, x2 = l.value(QLatin1String("x2_mm")).toDouble() - kBandX;
            const double y1 = l.value(QLatin1String("y1_mm")).toDouble() - kBandY, y2 = l.value(QLatin1String("y2_mm")).toDouble() - kBandY;
            const bool match = rule.dir == 'h'
                ? near(y1, rule.at) && near(y2, rule.at) && near(x1, rule.from) && near(x2, rule.to)
                : near(x1, rule.at) && near(x2, rule.at) && near(y1, rule.from) && near(y2, rule.to);
            if (match && !used[static_cast<std::size_t>(i)]) {
                used[static_cast<std::size_t>(i)] = true;
                found = true;
                // 0.26 mm: one pixel at the 96 pixels per inch the form was drawn at
                EXPECT_NEAR(l.value(QLatin1String("width_mm")).toDouble(), 0.26, kTolerance);
            }
        }
        EXPECT_TRUE(found) << rule.dir << " at " << rule.at << " from " << rule.from << " to " << rule.to;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!used[static_cast<std::size_t>(i)]) {
            const QJsonObject l = lines[i].toObject();
            ADD_FAILURE() << "line not on the form: (" << l.value(QLatin1String("x1_mm")).toDouble() - kBandX << ", "
                          << l.value(QLatin1String("y1_mm")).toDouble() - kBandY << ") to (" << l.value(QLatin1String("x2_mm")).toDouble() - kBandX
                          << ", " << l.value(QLatin1String("y2_mm")).toDouble() - kBandY << ")";
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(lines.size()), rules.size());
}

// ---- captions -----------------------------------------------------------------------

struct Caption
{
    const char *text;
    double x;
    double y;
    double sizePt = 10;
};

// Captions of the three column groups in block A; block B repeats them 68.8 mm lower,
// without the probation row, the totals row moving up by that row's 6.9 mm.
const Caption kGroupCaptions[] = {
    {"领导职务工资", 20.9, 36.0}, {"非领导职务工资", 19.1, 43.1}, {"级别工资", 17.5, 52.9, 9},
    {"级别档次", 31.8, 50.0, 9}, {"金  额", 32.5, 56.4}, {"试用期工资", 22.2, 77.5},
    {"合      计", 22.2, 84.1}, {"岗位工资", 62.2, 39.4}, {"岗  位", 78.8, 36.0},
    {"金  额", 78.6, 43.1}, {"薪级工资", 62.4, 53.2}, {"薪  级", 78.8, 49.7},
    {"金  额", 78.8, 56.9}, {"10%工资(或补贴)", 63.5, 63.8, 9}, {"浮动工资", 69.8, 70.1, 9},
    {"试用、见习初期工资", 62.2, 77.5, 9}, {"合    计", 69.1, 84.1}, {"技术等级", 109.8, 36.0},
    {"工    资", 109.5, 43.7}, {"等  级", 129.4, 36.0}, {"金  额", 129.4, 43.7},
    {"岗位工资", 109.5, 52.7}, {"档  次", 129.4, 49.7}, {"金  额", 129.4, 56.6},
    {"试用、熟练期工资", 110.9, 77.5, 9}, {"合    计", 117.5, 84.1},
};

const Caption kCaptions[] = {
    // rows 1 to 3
    {"姓  名", 4.8, 1.6}, {"性    别", 43.4, 1.6}, {"学  历", 78.8, 1.6},
    {"不算工龄学习年限", 114.6, 1.6}, {"年", 152.9, 1.1}, {"出生年月", 2.9, 8.5},
    {"参加工作时间", 39.7, 8.7}, {"连续工龄推算时间", 97.4, 8.7}, {"变动原因", 2.9, 15.9},
    {"考核年限起始时间", 62.4, 15.3}, {"职务(岗位)", 109.5, 15.6, 9},
    // block A
    {"原职务", 4.2, 37.6}, {"(岗位)", 4.2, 48.9}, {"及工资", 4.2, 60.3}, {"情  况", 3.7, 72.0},
    {"原单位及职务（岗位）", 22.8, 22.2}, {"任职时间", 110.9, 22.2}, {"公务员工资（元）", 24.3, 29.1},
    {"岗位、薪级工资（元）", 68.0, 29.1}, {"机关工人工资（元）", 118.0, 29.1},
    {"级", 104.5, 36.0},
    // block B
    {"现任职务", 2.6, 99.5}, {"（岗位）", 2.6, 112.2}, {"及工资", 4.5, 124.9}, {"情  况", 4.5, 137.6},
    {"现单位及职务（岗位）", 22.5, 90.8}, {"任职时间", 110.9, 90.8}, {"公务员工资（元）", 24.9, 98.2},
    {"岗位、薪级工资（元）", 67.7, 97.9}, {"机关工人工资（元）", 116.4, 98.2},
    {"级", 104.2, 105.6},
    // opinion rows
    {"呈报单", 5.3, 154.5}, {"位或主", 5.3, 160.9}, {"管部门", 5.3, 167.2}, {"意  见", 5.3, 173.6},
    {"审  批", 5.3, 187.6}, {"意  见", 5.3, 204.8}, {"年    月    日", 124.4, 206.6},
};

std::vector<Caption> expectedCaptions()
{
    std::vector<Caption> all(std::begin(kCaptions), std::end(kCaptions));
    for (const Caption &c : kGroupCaptions) {
        all.push_back(c);
        if (c.y >= 75.7 && c.y < 82.6)
            continue; // the probation row is not in block B
        all.push_back({c.text, c.x, c.y + (c.y >= 82.6 ? 68.8 - 6.9 : 68.8), c.sizePt});
    }
    return all;
}

struct DataLabel
{
    const char *name;
    double x;
    double y;
    double width; // 0: the width of its text
    const char *align;
    bool bold = false;
    double sizePt = 10;
    double height = 3.7;
};

const DataLabel kDataLabels[] = {
    {"l_xm", 19.3, 1.6, 14.3, "left"},      {"l_xb", 63.2, 1.3, 12.7, "center"},
    {"l_whcd", 92.3, 1.6, 20.1, "center"},  {"l_csny", 19.3, 9.3, 14.3, "left"},
    {"l_gzny", 63.5, 9.3, 15.6, "left"},    {"l_tsny", 130.2, 9.3, 13.2, "left"},
    {"QRLabel47", 24.6, 15.3, 0, "left", true},
    {"lb_ndkh", 94.5, 15.3, 0, "left"},     {"zw0", 128.6, 16.1, 29.6, "left"},
    {"zw1", 62.7, 22.2, 43.4, "left"},      {"l_ny1", 128.9, 22.2, 16.9, "left"},
    {"l_gw1", 92.1, 36.0, 12.2, "right"},   {"m_gw1", 93.4, 43.9, 12.2, "right"},
    {"l_xj1", 95.0, 49.7, 10.6, "right"},   {"m_xj1", 93.4, 57.1, 12.2, "right"},
    {"l_bt1", 93.4, 64.3, 12.2, "right"},   {"l_tmp1", 93.4, 78.1, 12.2, "right"},
    {"l_ph1", 93.4, 84.4, 12.2, "right"},   {"zw2", 63.0, 90.5, 43.1, "left"},
    {"l_ny2", 128.9, 90.5, 16.9, "left"},   {"l_gw2", 91.8, 105.6, 12.2, "right"},
    {"m_gw2", 93.4, 113.0, 12.7, "right"},  {"l_xj2", 95.0, 119.3, 10.6, "right"},
    {"m_xj2", 93.1, 125.7, 13.0, "right"},  {"l_bt2", 93.4, 133.1, 12.7, "right"},
    {"l_ph2", 93.7, 146.6, 12.2, "right"},  {"y1", 19.1, 154.5, 0, "left"},
    {"y2", 19.1, 161.1, 0, "left"},         {"y3", 19.1, 167.7, 0, "left"},
    {"Lb_year", 114.3, 175.9, 42.6, "center"},
    {"lb_area", 81.5, 215.1, 0, "left", false, 9, 3.4},
};

double textWidthOf(const QJsonObject &l)
{
    // half an em per GBK byte
    return static_cast<double>(gbk::fromUtf8(l.value(QLatin1String("text")).toString().toStdString()).size())
        * l.value(QLatin1String("size_pt")).toDouble() * 25.4 / 72 / 2;
}

TEST(XjFormLayout, CaptionsTitleAndDataLabelsAreWhereTheFormPutsThem)
{
    const QJsonArray labels = dumpedPage(examplePerson(), exampleSettings()).value(QLatin1String("labels")).toArray();
    std::vector<bool> used(static_cast<std::size_t>(labels.size()), false);
    auto at = [&](qsizetype i) { return labels[i].toObject(); };

    // the title in the page header, on the paper at the margins
    bool title = false;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QJsonObject l = at(i);
        if (l.value(QLatin1String("name")).toString() != QLatin1String("Lb1"))
            continue;
        used[static_cast<std::size_t>(i)] = title = true;
        EXPECT_EQ(l.value(QLatin1String("text")).toString(), QStringLiteral("国家机关事业单位工作人员工资变动审批表"));
        EXPECT_NEAR(l.value(QLatin1String("x_mm")).toDouble(), 15 + 2.1, kTolerance);
        EXPECT_NEAR(l.value(QLatin1String("y_mm")).toDouble(), 18 + 4.2, kTolerance);
        EXPECT_NEAR(l.value(QLatin1String("width_mm")).toDouble(), 156.9, kTolerance);
        EXPECT_NEAR(l.value(QLatin1String("height_mm")).toDouble(), 6.1, kTolerance);
        EXPECT_EQ(l.value(QLatin1String("font")).toString(), QStringLiteral("Arial"));
        EXPECT_EQ(l.value(QLatin1String("size_pt")).toDouble(), 16);
        EXPECT_TRUE(l.value(QLatin1String("bold")).toBool());
        EXPECT_TRUE(l.value(QLatin1String("underline")).toBool());
        EXPECT_EQ(l.value(QLatin1String("align")).toString(), QStringLiteral("center"));
    }
    EXPECT_TRUE(title);

    for (const Caption &c : expectedCaptions()) {
        bool found = false;
        for (qsizetype i = 0; i < labels.size() && !found; ++i) {
            const QJsonObject l = at(i);
            if (used[static_cast<std::size_t>(i)] || !l.value(QLatin1String("name")).toString().isEmpty()
                || l.value(QLatin1String("text")).toString() != QString::fromUtf8(c.text)
                || !near(l.value(QLatin1String("x_mm")).toDouble() - kBandX, c.x) || !near(l.value(QLatin1String("y_mm")).toDouble() - kBandY, c.y))
                continue;
            used[static_cast<std::size_t>(i)] = found = true;
            EXPECT_EQ(l.value(QLatin1String("font")).toString(), QStringLiteral("宋体")) << c.text;
            EXPECT_EQ(l.value(QLatin1String("size_pt")).toDouble(), c.sizePt) << c.text;
            EXPECT_FALSE(l.value(QLatin1String("bold")).toBool()) << c.text;
            EXPECT_NEAR(l.value(QLatin1String("height_mm")).toDouble(), 4.5, kTolerance) << c.text;
        }
        EXPECT_TRUE(found) << "caption " << c.text << " at (" << c.x << ", " << c.y << ")";
    }

    // "同 意" in 黑体 32 pt bold
    bool agree = false;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QJsonObject l = at(i);
        if (l.value(QLatin1String("text")).toString() != QStringLiteral("同 意"))
            continue;
        used[static_cast<std::size_t>(i)] = agree = true;
        EXPECT_NEAR(l.value(QLatin1String("x_mm")).toDouble() - kBandX, 25.1, kTolerance);
        EXPECT_NEAR(l.value(QLatin1String("y_mm")).toDouble() - kBandY, 188.6, kTolerance);
        EXPECT_EQ(l.value(QLatin1String("font")).toString(), QStringLiteral("黑体"));
        EXPECT_EQ(l.value(QLatin1String("size_pt")).toDouble(), 32);
        EXPECT_TRUE(l.value(QLatin1String("bold")).toBool());
    }
    EXPECT_TRUE(agree);

    for (const DataLabel &d : kDataLabels) {
        SCOPED_TRACE(d.name);
        qsizetype index = -1;
        for (qsizetype i = 0; i < labels.size(); ++i)
            if (at(i).value(QLatin1String("name")).toString() == QLatin1String(d.name)) {
                EXPECT_EQ(index, -1) << "named twice";
                index = i;
            }
        ASSERT_NE(index, -1);
        used[static_cast<std::size_t>(index)] = true;
        const QJsonObject l = at(index);
        EXPECT_NEAR(l.value(QLatin1String("x_mm")).toDouble() - kBandX, d.x, kTolerance);
        EXPECT_NEAR(l.value(QLatin1String("y_mm")).toDouble() - kBandY, d.y, kTolerance);
        EXPECT_EQ(l.value(QLatin1String("auto_width")).toBool(), d.width == 0);
        EXPECT_NEAR(l.value(QLatin1String("width_mm")).toDouble(), d.width == 0 ? textWidthOf(l) : d.width, kTolerance);
        EXPECT_NEAR(l.value(QLatin1String("height_mm")).toDouble(), d.height, kTolerance);
        EXPECT_EQ(l.value(QLatin1String("align")).toString(), QLatin1String(d.align));
        EXPECT_EQ(l.value(QLatin1String("bold")).toBool(), d.bold);
        EXPECT_FALSE(l.value(QLatin1String("underline")).toBool());
        EXPECT_EQ(l.value(QLatin1String("size_pt")).toDouble(), d.sizePt);
        EXPECT_EQ(l.value(QLatin1String("font")).toString(), QStringLiteral("宋体"));
    }

    for (qsizetype i = 0; i < labels.size(); ++i)
        if (!used[static_cast<std::size_t>(i)])
            ADD_FAILURE() << "label not on the form: " << at(i).value(QLatin1String("name")).toString().toStdString() << " "
                          << at(i).value(QLatin1String("text")).toString().toStdString() << " at ("
                          << at(i).value(QLatin1String("x_mm")).toDouble() - kBandX << ", " << at(i).value(QLatin1String("y_mm")).toDouble() - kBandY
                          << ")";
}

// ---- the fill -----------------------------------------------------------------------

TEST(XjFormFill, EveryLabelFromTheRowAndTheSettings)
{
    const TXtcs settings = exampleSettings();
    TXjPrnForm form(examplePerson(), settings);
    const report::RenderedPage page = form.run();
    const std::pair<const char *, const char *> expected[] = {
        {"l_xm", "冯晨"},
        {"l_xb", "男"},
        {"l_whcd", "大学"},
        {"l_csny", "1965.07"},
        {"l_gzny", "1985.7"},
        {"l_tsny", "1985.07"},
        {"QRLabel47", "正常晋升薪级工资"},
        {"lb_ndkh", "2009"},
        {"zw0", "二级教师"},
        {"zw1", "二级教师"},
        {"zw2", "二级教师"},
        {"l_ny1", "2009.01"},
        {"l_ny2", "2009.01"},
        {"l_gw1", "专技10"},
        {"l_gw2", "专技10"},
        {"m_gw1", "590"},
        {"m_gw2", "590"},
        {"l_xj1", "14"},
        {"l_xj2", "15"},
        {"m_xj1", "377"},
        {"m_xj2", "412"},
        {"l_bt1", ""},
        {"l_bt2", "25"},
        {"l_tmp1", ""},
        {"l_ph1", "967"},
        {"l_ph2", "1027"},
        {"y1", "    根据ZAR(2007)50文件规定，该同志 2009 年年度考核为 合格  ，拟同意其"},
        {"y2", "正常增加一个薪级，薪级工资由 14 级 377 元增加到 15 级 412 元，（提高工资10%"},
        {"y3", "部分由 -- 元增加到 25 元），月增资 60 元，从 2010 年 1 月起执行。"},
        {"Lb_year", "2010 年 4 月 8 日"},
        {"lb_area", "vodeve工资处制"},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(textOf(page, name), text) << name;
}

// One field changed from the example person or settings, and what it shows.
struct FillCase
{
    const char *name;
    void (*change)(XjRecord &, TXtcs &);
    const char *label;
    const char *expected;
};

const FillCase kFillCases[] = {
    {"circular_with_letters", [](XjRecord &, TXtcs &s) { s.FileNo = "abc(2009)3"; }, "y1",
     "    根据ABC(2009)3文件规定，该同志 2009 年年度考核为 合格  ，拟同意其"},
    {"appraisal_trimmed_then_one_blank", [](XjRecord &r, TXtcs &) { r.ndkh = gbk::fromUtf8("  优秀 "); }, "y1",
     "    根据ZAR(2007)50文件规定，该同志 2009 年年度考核为 优秀  ，拟同意其"},
    {"appraisal_letters_upper_cased", [](XjRecord &r, TXtcs &) { r.ndkh = "good"; }, "y1",
     "    根据ZAR(2007)50文件规定，该同志 2009 年年度考核为 GOOD  ，拟同意其"},
    {"empty_appraisal", [](XjRecord &r, TXtcs &) { r.ndkh.clear(); }, "y1",
     "    根据ZAR(2007)50文件规定，该同志 2009 年年度考核为   ，拟同意其"},
    {"empty_circular", [](XjRecord &, TXtcs &s) { s.FileNo.clear(); }, "y1",
     "    根据文件规定，该同志 2009 年年度考核为 合格  ，拟同意其"},
    {"circular_holding_a_placeholder", [](XjRecord &, TXtcs &s) { s.FileNo = gbk::fromUtf8("京&year3号"); }, "y1",
     "    根据京&YEAR3号文件规定，该同志 2009 年年度考核为 合格  ，拟同意其"},
    {"year_in_line_three", [](XjRecord &, TXtcs &s) { s.Year = 2011; }, "y3",
     "部分由 -- 元增加到 25 元），月增资 60 元，从 2011 年 1 月起执行。"},
    {"year_before_in_line_one", [](XjRecord &, TXtcs &s) { s.Year = 2011; }, "lb_ndkh", "2010"},
    {"both_supplements", [](XjRecord &r, TXtcs &) { r.bf101 = 20; }, "y3",
     "部分由 20 元增加到 25 元），月增资 60 元，从 2010 年 1 月起执行。"},
    {"negative_supplement_is_none", [](XjRecord &r, TXtcs &) { r.bf102 = -5; }, "y3",
     "部分由 -- 元增加到 -- 元），月增资 60 元，从 2010 年 1 月起执行。"},
    {"negative_supplement_label_blank", [](XjRecord &r, TXtcs &) { r.bf102 = -5; }, "l_bt2", ""},
    {"supplement_label", [](XjRecord &r, TXtcs &) { r.bf101 = 20; }, "l_bt1", "20"},
    {"empty_total_prints_zero", [](XjRecord &r, TXtcs &) { r.heji1 = 0; }, "l_ph1", "0"},
    {"grades_in_line_two", [](XjRecord &r, TXtcs &) { r.xjdj1 = 0; r.xjgz1 = 0; r.xjdj2 = 1; r.xjgz2 = 80; }, "y2",
     "正常增加一个薪级，薪级工资由 0 级 0 元增加到 1 级 80 元，（提高工资10%"},
    {"category_1", [](XjRecord &r, TXtcs &) { r.zwlb = 1; }, "l_gw1", "职员10"},
    {"category_3", [](XjRecord &r, TXtcs &) { r.zwlb = 3; r.gwdj2 = "4"; }, "l_gw2", "技工4"},
    {"category_4", [](XjRecord &r, TXtcs &) { r.zwlb = 4; }, "l_gw1", "普工10"},
    {"category_empty", [](XjRecord &r, TXtcs &) { r.zwlb = 0; }, "l_gw1", "10"},
    {"category_unknown", [](XjRecord &r, TXtcs &) { r.zwlb = 5; }, "l_gw2", "10"},
    {"date_one_digit_month", [](XjRecord &r, TXtcs &) { r.csny = "19657"; }, "l_csny", "1965.7"},
    {"date_with_separator", [](XjRecord &r, TXtcs &) { r.csny = "1965.07"; }, "l_csny", "1965.07"},
    {"date_with_blanks", [](XjRecord &r, TXtcs &) { r.csny = " 196507 "; }, "l_csny", "1965.07"},
    {"date_empty", [](XjRecord &r, TXtcs &) { r.csny.clear(); }, "l_csny", ""},
    {"date_year_only", [](XjRecord &r, TXtcs &) { r.zwny = "1965"; }, "l_ny2", "1965"},
    {"print_date_end_of_year", [](XjRecord &, TXtcs &s) { s.PrintDate = QDateTime(QDate(2009, 12, 31), QTime(15, 0)); },
     "Lb_year", "2009 年 12 月 31 日"},
    {"issuer", [](XjRecord &, TXtcs &s) { s.Issuer = gbk::fromUtf8("人事局"); }, "lb_area", "人事局"},
    {"name_letters_kept", [](XjRecord &r, TXtcs &) { r.xm = "Li"; }, "l_xm", "Li"},
};

class XjFormFillCase : public testing::TestWithParam<FillCase>
{
};

TEST_P(XjFormFillCase, Shows)
{
    XjRecord row = examplePerson();
    TXtcs settings = exampleSettings();
    GetParam().change(row, settings);
    TXjPrnForm form(row, settings);
    EXPECT_EQ(textOf(form.run(), GetParam().label), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, XjFormFillCase, testing::ValuesIn(kFillCases),
                         [](const testing::TestParamInfo<FillCase> &p) { return std::string(p.param.name); });

// The engine calls the handler twice a run; the wording is filled once and every other
// label gets the same value again, so the page after the second call is the page printed.
TEST(XjFormFill, HandlerRunTwiceGivesTheSamePage)
{
    for (auto change : {+[](TXtcs &) {}, +[](TXtcs &s) { s.FileNo = "&ndkh&year"; }}) {
        TXtcs settings = exampleSettings();
        change(settings);
        TXjPrnForm form(examplePerson(), settings);
        const std::string printed = report::pageJson(form.run());
        EXPECT_EQ(report::pageJson(form.qrXJGZ().render()), printed);
        EXPECT_EQ(report::pageJson(form.run()), printed);
    }
}

// The settings are read when the report runs: the tool's record as it stands then.
TEST(XjFormFill, ReadsTheSettingsRecordAtRunTime)
{
    TXtcs settings = exampleSettings();
    TXjPrnForm form(examplePerson(), settings);
    settings.Issuer = gbk::fromUtf8("新的处室");
    EXPECT_EQ(textOf(form.run(), "lb_area"), "新的处室");
}

TEST(XjFormFill, MarginsInForceAreSetWhenTheFormIsCreated)
{
    const TXtcs settings = exampleSettings();
    TXjPrnForm form(examplePerson(), settings);
    EXPECT_EQ(form.qrXJGZ().page().margins.left, 15);
    EXPECT_EQ(form.qrXJGZ().page().margins.top, 18);
    EXPECT_EQ(form.qrXJGZ().page().margins.right, 10);
    EXPECT_EQ(form.qrXJGZ().page().margins.bottom, 10);
    EXPECT_EQ(form.qrXJGZ().page().widthMm, 182);
    EXPECT_EQ(form.qrXJGZ().page().heightMm, 257);
}

} // namespace
