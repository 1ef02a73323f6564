// The ZW form on small rosters: the cells of the row, the generated and the template
// opinion byte for byte, the start month, the wrapping at the width of the box, and the
// errors that stop a form.
#include "common/errors.h"
#include "zw/zw_roster.h"

#include <gtest/gtest.h>

using namespace quvela;
using namespace quvela::test;

namespace {

constexpr const char *kExampleOpinion =
    "根据某人社(2007)71号文件规定，该同志职务由办事员晋升为科员，拟同意其岗位工资由7 590 元晋升到8 640 "
    "元，薪级工资不变，（提高工资10%部分由 59 元增加到 64 元），月增资 55 元，从 2009 年 08 月起执行。";

std::size_t gbkBytes(const std::string &utf8)
{
    return gbk::fromUtf8(utf8).size();
}

class ZwForm : public ZwRosterTest
{
};

TEST_F(ZwForm, TheWorkedExampleByteForByte)
{
    writeAndOpen({{7, examplePerson()}});
    const report::RenderedPage p = page(7);
    EXPECT_EQ(wording(p), kExampleOpinion);
    EXPECT_EQ(gbkBytes(wording(p)), 195u);
    EXPECT_EQ(text(p, "y1"), "根据某人社(2007)71号文件规定，该同志职务由办事员晋升为科员，拟同意其岗位工");
    EXPECT_EQ(gbkBytes(text(p, "y1")), 74u);
    // The 78th byte would split "元": the line ends one byte early.
    EXPECT_EQ(text(p, "y2"), "资由7 590 元晋升到8 640 元，薪级工资不变，（提高工资10%部分由 59 元增加到 64 ");
    EXPECT_EQ(gbkBytes(text(p, "y2")), 77u);
    EXPECT_EQ(text(p, "y3"), "元），月增资 55 元，从 2009 年 08 月起执行。");
    EXPECT_EQ(gbkBytes(text(p, "y3")), 44u);
    EXPECT_EQ(text(p, "y4"), "");
}

TEST_F(ZwForm, CellsOfTheRowAndTheRecord)
{
    writeAndOpen({{7, examplePerson()}});
    const report::RenderedPage p = page(7);
    const std::pair<const char *, const char *> expected[] = {
        {"l_xm", "林晓明"},   {"l_xb", "男"},       {"l_whcd", "大学"},   {"l_csny", "1978.05"},
        {"l_gzny", "1998.07"}, {"l_tsny", "1998.07"}, {"lb_bdyy", "职务晋升"}, {"lb_ndkh", "2009"},
        {"zw0", "科员"},      {"zw1", "办事员"},    {"zw2", "科员"},      {"l_ny1", "2005.07"},
        {"l_ny2", "2009.07"}, {"l_gw1", "7"},       {"l_gw2", "8"},       {"m_gw1", "590"},
        {"m_gw2", "640"},     {"l_xj1", "12"},      {"l_xj2", "12"},      {"m_xj1", "435"},
        {"m_xj2", "435"},     {"l_bt1", "59"},      {"l_bt2", "64"},      {"l_tmp1", ""},
        {"l_ph1", "1084"},    {"l_ph2", "1139"},    {"Lb_year", "2010 年 4 月 9 日"},
        {"lb_area", "vodeve工资处制"},
    };
    for (const auto &[name, value] : expected)
        EXPECT_EQ(text(p, name), value) << name;
    for (const report::ReportLabel &l : p.labels) {
        if (l.name == "lb_bdyy") {
            EXPECT_TRUE(l.bold);
        }
    }
}

TEST_F(ZwForm, TheFillSetsTheMarginsInForce)
{
    writeAndOpen({{7, examplePerson()}});
    zw::TZwPrnForm form(sheet, 7, zwCol, [this] { return width; }, settings);
    EXPECT_NE(form.qrZWGZ().page().margins.left, 15);
    form.run();
    EXPECT_EQ(form.qrZWGZ().page().margins.left, 15);
    EXPECT_EQ(form.qrZWGZ().page().margins.top, 18);
}

TEST_F(ZwForm, GeneratedOpinionsFollowGradesWagesAndSalaryGrades)
{
    struct Case
    {
        const char *what;
        std::vector<std::pair<int, Cell>> changes;
        std::vector<const char *> contains;
    };
    const Case cases[] = {
        {"lower grade number, higher post wage",
         {{zwf::OldGrade, std::string("12")}, {zwf::NewGrade, std::string("10")}, {zwf::OldPostWage, 550.0},
          {zwf::NewPostWage, 680.0}},
         {"由办事员低任为科员", "岗位工资由12 550 元降低为10 680 元", "59 元增加到 64", "月增资 55 元"}},
        {"equal grade numbers",
         {{zwf::OldGrade, std::string("8")}, {zwf::NewGrade, std::string("8")}},
         {"晋升为科员", "元晋升到8 640 元"}},
        {"grades that are not whole numbers count as 0",
         {{zwf::OldGrade, std::string("七级")}, {zwf::NewGrade, std::string("专技6")}},
         {"晋升为科员", "岗位工资由七级 590 元晋升到专技6 640 元"}},
        {"lower post wage",
         {{zwf::OldPostWage, 680.0}, {zwf::NewPostWage, 550.0}, {zwf::Increase, -130.0}},
         {"晋升为科员", "59 元降低为 64", "月减资 -130 元"}},
        {"salary-grade wage changed",
         {{zwf::NewStepWage, 471.0}},
         {"薪级工资重新确定为 471 元，（提高"}},
        {"old 10% part empty",
         {{zwf::OldTenPercent, std::string("  ")}},
         {"（提高工资10%部分由  -- 增加到 -- 元），月增资"}},
        {"blank previous post: the old grade stands for it",
         {{zwf::PreviousPost, std::string(" ")}},
         {"该同志职务由7晋升为科员"}},
        {"one-digit month of the roster form yyyym",
         {{zwf::PostSince, 20097.0}},
         {"从 2009 年 08 月起执行。"}},
        {"December runs into the next year",
         {{zwf::PostSince, std::string("2009.12")}},
         {"从 2010 年 01 月起执行。"}},
        {"a date out of range leaves the month empty",
         {{zwf::PostSince, 190005.0}},
         {"元，从  年  月起执行。"}},
    };
    std::vector<std::pair<int, std::vector<std::pair<int, Cell>>>> people;
    int row = 7;
    for (const Case &c : cases)
        people.push_back({row++, with(examplePerson(), c.changes)});
    writeAndOpen(people);
    row = 7;
    for (const Case &c : cases) {
        const std::string w = wording(page(row++));
        for (const char *part : c.contains)
            EXPECT_NE(w.find(part), std::string::npos) << c.what << ": " << part << "\n in " << w;
    }
}

TEST_F(ZwForm, TemplateOpinionsByteForByte)
{
    struct Case
    {
        const char *opinion;
        std::vector<std::pair<int, Cell>> changes;
        const char *expected;
    };
    const Case cases[] = {
        {"同意&ZW2任职，&ym起执行。", {{zwf::PostSince, std::string("2009.12")}}, "同意科员任职，2010 年 01 月起执行。"},
        {"  同意&zw2任职。 ", {{zwf::Post, std::string("abc")}}, "同意ABC任职。"},
        {"&zw1改&zw2，&zw2。", {}, "办事员改科员，&zw2。"},
        {"&gwdj1级&gw1元至&GWDJ2级&gw2元，薪级&xjdj1/&xjdj2，&xj1→&xj2，&bf1→&bf2，月增&zz元。", {},
         "7级590元至8级640元，薪级12/12，435→435，59→64，月增55元。"},
        // A value that looks like a placeholder is printed as it is.
        {"由&zw1任&zw2", {{zwf::PreviousPost, std::string("&zw2")}}, "由&ZW2任科员"},
    };
    std::vector<std::pair<int, std::vector<std::pair<int, Cell>>>> people;
    int row = 7;
    for (const Case &c : cases) {
        auto changes = c.changes;
        changes.push_back({zwf::OpinionTemplate, std::string(c.opinion)});
        people.push_back({row++, with(examplePerson(), changes)});
    }
    writeAndOpen(people);
    row = 7;
    for (const Case &c : cases)
        EXPECT_EQ(wording(page(row++)), c.expected) << c.opinion;
}

TEST_F(ZwForm, YearOfTheCurrentPostAndYearMonths)
{
    struct Case
    {
        Cell since;
        const char *ndkh;
        const char *ny2;
    };
    const Case cases[] = {
        {200907.0, "2009", "2009.07"},
        {std::string("2009.07"), "2009", "2009.07"},
        {std::string(" 200907 "), " 200", "2009.07"},
        {std::string("2009-7"), "2009", "2009-7"},
    };
    std::vector<std::pair<int, std::vector<std::pair<int, Cell>>>> people;
    int row = 7;
    for (const Case &c : cases)
        people.push_back({row++, with(examplePerson(), {{zwf::PostSince, c.since},
                                                        {zwf::OpinionTemplate, std::string("同意")}})});
    writeAndOpen(people);
    row = 7;
    for (const Case &c : cases) {
        const report::RenderedPage p = page(row++);
        EXPECT_EQ(text(p, "lb_ndkh"), c.ndkh);
        EXPECT_EQ(text(p, "l_ny2"), c.ny2);
    }
}

TEST_F(ZwForm, ReasonOfTheChangeAsRead)
{
    writeAndOpen({{7, with(examplePerson(), {{zwf::Reason, std::string("新任职")}})}});
    EXPECT_EQ(text(page(7), "lb_bdyy"), "新任职");
}

TEST_F(ZwForm, WrappingAtTheWidthOfTheBox)
{
    const std::string longPost = "vodeve市林业局森林资源管理科副科长兼办公室主任";
    writeAndOpen({{7, examplePerson()}, {8, with(examplePerson(), {{zwf::PreviousPost, longPost}})}});
    const GbkString all = gbk::fromUtf8(kExampleOpinion);

    width = "4";
    report::RenderedPage p = page(7);
    EXPECT_EQ(text(p, "y1"), "");
    EXPECT_EQ(wording(p), kExampleOpinion);

    width = "300";
    p = page(7);
    EXPECT_EQ(text(p, "y1"), kExampleOpinion);
    EXPECT_EQ(text(p, "y2"), "");

    width = "150";
    p = page(7);
    // Wider than what is left after the first line: all of it in the second.
    EXPECT_LE(gbkBytes(text(p, "y1")), 146u);
    EXPECT_GE(gbkBytes(text(p, "y1")), 145u);
    EXPECT_EQ(gbk::fromUtf8(text(p, "y1") + text(p, "y2")), all);
    EXPECT_EQ(text(p, "y3"), "");

    // Longer than 3W - 4 bytes: a fourth line with all the rest.
    width = "40";
    p = page(8);
    EXPECT_FALSE(text(p, "y4").empty());
    EXPECT_GT(gbkBytes(text(p, "y4")), 40u);
    EXPECT_LE(gbkBytes(text(p, "y1")), 36u);
    EXPECT_LE(gbkBytes(text(p, "y2")), 40u);
    EXPECT_LE(gbkBytes(text(p, "y3")), 40u);
    EXPECT_NE(wording(p).find(longPost), std::string::npos);
}

TEST_F(ZwForm, ErrorsThatStopTheForm)
{
    struct Case
    {
        const char *what;
        std::vector<std::pair<int, Cell>> changes;
        const char *width;
        const char *message;
    };
    const Case cases[] = {
        {"empty current-post date", {{zwf::PostSince, std::monostate{}}}, "78", "'' is not a valid integer value"},
        {"a word for the date", {{zwf::PostSince, std::string("二〇〇九年七月")}}, "78", nullptr},
        {"empty width", {}, "", "'' is not a valid integer value"},
        {"width with a letter", {}, "7x", "'7x' is not a valid integer value"},
    };
    std::vector<std::pair<int, std::vector<std::pair<int, Cell>>>> people;
    int row = 7;
    for (const Case &c : cases)
        people.push_back({row++, with(examplePerson(), c.changes)});
    writeAndOpen(people);
    row = 7;
    for (const Case &c : cases) {
        width = c.width;
        try {
            page(row);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ConversionError &error) {
            if (c.message) {
                EXPECT_EQ(gbk::toUtf8(error.message()), c.message) << c.what;
            }
        }
        ++row;
    }
}

TEST_F(ZwForm, AColumnMapOutsideTheSheetIsACellError)
{
    writeAndOpen({{7, examplePerson()}});
    zwCol[zwf::Name - 1] = 0;
    EXPECT_THROW(page(7), QuvelaError);
}

} // namespace
