#include "common/ini_file.h"
#include "common/xj_settings.h"
#include "support/scripted_prompts.h"
#include "xj/temp_folder.h"
#include "xj/xj_adjust.h"
#include "xj/xj_table.h"

#include <gtest/gtest.h>

#include <limits>

using namespace quvela;
using namespace quvela::xj;
using quvela::test::ScriptedPrompts;
using quvela::test::TempFolder;

namespace {

const char *const kTable1 = "008000910102011301250137015101650181019702150233025302730295031703410365039104170443047104"
                            "990527055505830613064306730703073507670799083408690904094409841024106411091154119912441289"
                            "133413841434148415341590165517201785185019201990206021302200228023602440";
const char *const kTable2 = "007000800090010101120124013601480161017401880202021702320248026402820300032003400363038604"
                            "0904320455047805040530055605850614064306750707073907740809084408790915";

TXtcs settings(int32_t months)
{
    TXtcs s;
    s.Month = months;
    s.GradeTable1 = kTable1;
    s.GradeTable2 = kTable2;
    return s;
}

// The tables as a tool window gets them: set by loading the XJ settings.
TXtcs loadedSettings()
{
    TempFolder folder;
    IniFile ini(folder / "xjgz.ini");
    TXtcs s;
    LoadXjSettings(ini, s);
    return s;
}

XjRecord marked(int32_t zwlb, int32_t xjdj1, int32_t xjgz1, int32_t gwgz1, int32_t gwgz2, int32_t bf101)
{
    XjRecord r;
    r.xh = 1;
    r.xm = gbk::fromUtf8("张三");
    r.sftz = 1;
    r.zwlb = zwlb;
    r.xjdj1 = xjdj1;
    r.xjgz1 = xjgz1;
    r.gwgz1 = gwgz1;
    r.gwgz2 = gwgz2;
    r.bf101 = bf101;
    // Imported new values that an adjustment must overwrite.
    r.xjdj2 = r.xjgz2 = r.bf102 = r.zzxj = r.zz10 = r.heji2 = r.zzhj = r.bufa = 777;
    r.qita2 = 30;
    r.zzqt = 5;
    return r;
}

struct Expected
{
    int32_t xjdj2, xjgz2, bf102, zzxj, zz10, heji2, zzhj, bufa;
    bool operator==(const Expected &) const = default;
};

Expected resultOf(const XjRecord &r)
{
    return {r.xjdj2, r.xjgz2, r.bf102, r.zzxj, r.zz10, r.heji2, r.zzhj, r.bufa};
}

std::ostream &operator<<(std::ostream &os, const Expected &e)
{
    return os << "{" << e.xjdj2 << ", " << e.xjgz2 << ", " << e.bf102 << ", " << e.zzxj << ", " << e.zz10 << ", "
              << e.heji2 << ", " << e.zzhj << ", " << e.bufa << "}";
}

} // namespace

TEST(XjAdjust, RoundTenthGoesHalfToEven)
{
    const std::pair<int64_t, int64_t> cases[] = {
        {125, 12}, {135, 14}, {215, 22}, {113, 11}, {112, 11}, {702, 70}, {714, 71}, {116, 12},
        {-125, -12}, {-135, -14}, {-116, -12}, {0, 0}, {5, 0}, {15, 2}, {-5, 0},
    };
    for (auto [n, r] : cases)
        EXPECT_EQ(roundTenth(n), r) << n << "/10";
}

TEST(XjAdjust, RowsFollowTheRules)
{
    // The amounts come from the loaded tables, so that a wrong one there shows here too.
    const TXtcs loaded = loadedSettings();
    const GradeTable t1(loaded.GradeTable1), t2(loaded.GradeTable2);
    struct Case
    {
        const char *what;
        XjRecord in;
        int32_t months;
        Expected out;
    };
    const Case cases[] = {
        {"example A", marked(2, 4, 113, 590, 590, 11), 4, {5, 125, 12, 12, 1, 727, 13, 52}},
        {"example B", marked(4, 5, 112, 590, 590, 70), 4, {6, 124, 71, 12, 1, 785, 13, 52}},
        {"no supplement", marked(1, 4, 113, 590, 600, 0), 4, {5, 125, 0, 12, 0, 725, 12, 48}},
        {"fits neither base", marked(1, 9, 181, 680, 680, 50), 4, {10, 197, 0, 16, -50, 877, -34, -136}},
        {"one yuan off takes 5.1", marked(1, 4, 113, 590, 590, 12), 4, {5, 125, 12, 12, 0, 727, 12, 48}},
        {"two yuan off fails 5.1 and 5.2", marked(1, 4, 113, 590, 590, 13), 4, {5, 125, 0, 12, -13, 715, -1, -4}},
        {"135 gives 14 by rule 5.2", marked(1, 4, 113, 100, 10, 21), 1, {5, 125, 14, 12, -7, 149, 5, 5}},
        {"grade 62 to 63", marked(1, 62, 2360, 0, 0, 0), 4, {63, 2440, 0, 80, 0, 2440, 80, 320}},
        {"empty grade", marked(2, 0, 0, 0, 0, 0), 4, {1, 80, 0, 80, 0, 80, 80, 320}},
        {"empty grade, table 2", marked(3, 0, 0, 0, 0, 0), 4, {1, 70, 0, 70, 0, 70, 70, 280}},
        {"empty category uses table 1", marked(0, 4, 113, 0, 0, 0), 4, {5, 125, 0, 12, 0, 125, 12, 48}},
        {"negative category uses table 1", marked(-3, 4, 113, 0, 0, 0), 4, {5, 125, 0, 12, 0, 125, 12, 48}},
        {"no months, no back pay", marked(2, 4, 113, 590, 590, 11), 0, {5, 125, 12, 12, 1, 727, 13, 0}},
        {"grade 39 to 40, table 2", marked(4, 39, 879, 0, 0, 0), 2, {40, 915, 0, 36, 0, 915, 36, 72}},
    };
    for (const Case &c : cases) {
        XjRecord r = c.in;
        EXPECT_FALSE(adjustRecord(r, c.months, t1, t2)) << c.what;
        EXPECT_EQ(resultOf(r), c.out) << c.what;
        EXPECT_EQ(r.qita2, 30) << c.what;
        EXPECT_EQ(r.zzqt, 5) << c.what;
        XjRecord again = r;
        adjustRecord(again, c.months, t1, t2);
        EXPECT_EQ(again, r) << c.what << ": a second run must give the same";
    }
}

TEST(XjAdjust, UnmarkedRowsAreNotTouched)
{
    const GradeTable t1(kTable1), t2(kTable2);
    for (int32_t flag : {0, 2, -1, 11}) {
        XjRecord r = marked(1, 4, 113, 590, 590, 11);
        r.sftz = flag;
        const XjRecord before = r;
        EXPECT_FALSE(adjustRecord(r, 4, t1, t2));
        EXPECT_EQ(r, before) << "sftz " << flag;
    }
}

TEST(XjAdjust, StopsWithAMessageAndLeavesTheRowAsItWas)
{
    const GradeTable t1(kTable1), t2(kTable2);
    const int32_t big = std::numeric_limits<int32_t>::max();
    struct Case
    {
        XjRecord in;
        int32_t months;
        const char *message;
    };
    const Case cases[] = {
        {marked(1, 63, 2440, 0, 0, 0), 4, "序号1 张三：新薪级64级超出薪级工资标准表（最高63级），调薪至此停止！"},
        {marked(3, 40, 915, 0, 0, 0), 4, "序号1 张三：新薪级41级超出薪级工资标准表（最高40级），调薪至此停止！"},
        {marked(1, -5, 0, 0, 0, 0), 4, "序号1 张三：新薪级-4级超出薪级工资标准表（最高63级），调薪至此停止！"},
        {marked(1, big, 0, 0, 0, 0), 4, "序号1 张三：新薪级2147483648级超出薪级工资标准表（最高63级），调薪至此停止！"},
        {marked(1, 4, -big, 0, 0, 0), 4, "序号1 张三：薪级增资超出数值范围，调薪至此停止！"},
        {marked(1, 4, 113, 0, big, 0), 4, "序号1 张三：合计超出数值范围，调薪至此停止！"},
        {marked(1, 4, 113, 0, 0, 0), 200'000'000, "序号1 张三：补发工资超出数值范围，调薪至此停止！"},
        {marked(1, 4, 113, 0, 0, 0), -200'000'000, "序号1 张三：补发工资超出数值范围，调薪至此停止！"},
    };
    for (const Case &c : cases) {
        XjRecord r = c.in;
        const auto stop = adjustRecord(r, c.months, t1, t2);
        ASSERT_TRUE(stop) << c.message;
        EXPECT_EQ(gbk::toUtf8(*stop), c.message);
        EXPECT_EQ(r, c.in) << c.message;
    }
    // 12 * 178956970 still fits.
    XjRecord r = marked(1, 4, 113, 0, 0, 0);
    EXPECT_FALSE(adjustRecord(r, 178'956'970, t1, t2));
    EXPECT_EQ(r.bufa, 12 * 178'956'970);
}

class XjAdjustTable : public ::testing::Test
{
protected:
    TempFolder dir;
    std::unique_ptr<XjTable> table = XjTable::open(dir / "xjgz.db");
    ScriptedPrompts prompts;
};

TEST_F(XjAdjustTable, EmptyTableSaysSo)
{
    EXPECT_FALSE(adjustSalaryGrades(prompts, settings(4), *table));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].text), "无调资数据 ！");
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].caption), "薪级调整");
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Error);
}

TEST_F(XjAdjustTable, AdjustsMarkedRowsInPlaceRepeatably)
{
    XjRecord a = marked(2, 4, 113, 590, 590, 11);
    XjRecord skipped = marked(4, 5, 112, 590, 590, 70);
    skipped.sftz = 0;
    XjRecord b = marked(4, 5, 112, 590, 590, 70);
    b.xh = 3;
    for (const XjRecord &r : {a, skipped, b})
        table->append(r);

    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(adjustSalaryGrades(prompts, settings(4), *table));
        const auto rows = XjTable::open(dir / "xjgz.db")->readAll();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(resultOf(rows[0]), (Expected{5, 125, 12, 12, 1, 727, 13, 52}));
        EXPECT_EQ(rows[1], skipped);
        EXPECT_EQ(resultOf(rows[2]), (Expected{6, 124, 71, 12, 1, 785, 13, 52}));
    }
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].text), "正在处理薪级工资(包括10％)及增资，请稍等...");
    EXPECT_EQ(prompts.shown[0].kind, "wait");
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
}

TEST_F(XjAdjustTable, AStopKeepsTheRowsBeforeAndLeavesTheRest)
{
    XjRecord first = marked(1, 4, 113, 590, 590, 11);
    XjRecord top = marked(1, 63, 2440, 0, 0, 0);
    top.xh = 2;
    top.xm = gbk::fromUtf8(" 李四 ");
    XjRecord after = marked(1, 4, 113, 590, 590, 11);
    after.xh = 3;
    for (const XjRecord &r : {first, top, after})
        table->append(r);

    EXPECT_FALSE(adjustSalaryGrades(prompts, settings(4), *table));
    const auto rows = XjTable::open(dir / "xjgz.db")->readAll();
    EXPECT_EQ(resultOf(rows[0]), (Expected{5, 125, 12, 12, 1, 727, 13, 52}));
    EXPECT_EQ(rows[1], top);
    EXPECT_EQ(rows[2], after);
    const auto texts = prompts.textsUtf8();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "序号2 李四：新薪级64级超出薪级工资标准表（最高63级），调薪至此停止！");
    EXPECT_EQ(prompts.shown.back().icon, MessageIcon::Error);
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
}
