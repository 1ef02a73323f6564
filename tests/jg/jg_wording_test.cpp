// The JG wording byte for byte: the duty-wage and the technical-grade wording, with the
// rank or post wage changing or not, and the brackets each piece closes with.
#include "jg/jg_roster.h"

#include <gtest/gtest.h>

using namespace quvela;
using namespace quvela::test;

namespace {

namespace col = quvela::jg::column;

struct Case
{
    const char *name;
    Cells changes;
    const char *wording; // UTF-8
};

const std::vector<Case> &cases()
{
    static const std::vector<Case> list = {
        {"duty_wage_rank_wage_changes", {},
         "根据zar(2007)71号文件规定，拟同意该同志职务工资由(副处长 1080 元)晋升到(处长 1410 元)，级别工资"
         "由(16-3 档 582 元)晋升到(15-2 档 642 元)，月增资 390 元，从 2010 年 01 月起执行。"},
        {"duty_wage_rank_wage_unchanged",
         {{col::OldRankWage, 550.0}, {col::NewRankWage, std::string("550")}, {col::Increase, 330.0}},
         "根据zar(2007)71号文件规定，拟同意该同志职务工资由(副处长 1080 元)晋升到(处长 1410 元)，级别工资"
         "不变，月增资 330 元，从 2010 年 01 月起执行。"},
        {"duty_wage_falling",
         {{col::NewAmount, 700.0}, {col::NewPost, std::string("调研员")}, {col::NewStep, std::string("17-1")},
          {col::NewRankWage, 560.0}, {col::Increase, -402.0}},
         "根据zar(2007)71号文件规定，拟同意该同志职务工资由(副处长 1080 元)降低到(调研员 700 元)，级别工资"
         "由(16-3 档 582 元)降低到(17-1 档 560 元)，月增资 -402 元，从 2010 年 01 月起执行。"},
        // the new category alone chooses the wording: an old worker's amount keeps the
        // duty wording
        {"worker_promoted_to_a_duty",
         {{col::OldAmount, 270.0}, {col::OldPost, std::string("技师")}, {col::OldStep, std::string("5")}},
         "根据zar(2007)71号文件规定，拟同意该同志职务工资由(技师 270 元)晋升到(处长 1410 元)，级别工资"
         "由(5 档 582 元)晋升到(15-2 档 642 元)，月增资 390 元，从 2010 年 01 月起执行。"},
        {"technical_grade_post_wage_changes",
         {{col::OldAmount, 195.0}, {col::OldPost, std::string("高级工")}, {col::OldStep, std::string("8")},
          {col::OldRankWage, 390.0}, {col::NewAmount, 270.0}, {col::NewPost, std::string("技师")},
          {col::NewStep, std::string("9")}, {col::NewRankWage, 415.0}, {col::Increase, 100.0}},
         "根据zar(2007)71号文件规定，拟同意该同志技术等级工资由(高级工 195 元)晋升到(技师 270 元），岗位工资"
         "由(高级工 8 档 390 元)晋升到(技师 9 档 415 元)，月增资 100 元，从 2010 年 01 月起执行。"},
        {"technical_grade_post_wage_unchanged",
         {{col::OldAmount, 155.0}, {col::OldPost, std::string("中级工")}, {col::OldRankWage, 390.0},
          {col::NewAmount, 410.0}, {col::NewPost, std::string("高级技师")}, {col::NewRankWage, 390.0},
          {col::Increase, 255.0}},
         "根据zar(2007)71号文件规定，拟同意该同志技术等级工资由(中级工 155 元)晋升到(高级技师 410 元），岗位工资"
         "不变，月增资 255 元，从 2010 年 01 月起执行。"},
        // a duty given up for a worker's grade: the leading-post cell falls to nothing
        {"duty_to_technical_grade",
         {{col::NewAmount, 195.0}, {col::NewPost, std::string("高级工")}, {col::NewStep, std::string("8")},
          {col::NewRankWage, 390.0}, {col::Increase, std::string("-1077")}},
         "根据zar(2007)71号文件规定，拟同意该同志技术等级工资由(副处长 1080 元)降低到(高级工 195 元），岗位工资"
         "由(副处长 16-3 档 582 元)降低到(高级工 8 档 390 元)，月增资 -1077 元，从 2010 年 01 月起执行。"},
        // empty cells stay empty in the sentence; nothing is made up
        {"empty_steps_and_increase",
         {{col::OldStep, Cell{}}, {col::NewStep, Cell{}}, {col::Increase, Cell{}}},
         "根据zar(2007)71号文件规定，拟同意该同志职务工资由(副处长 1080 元)晋升到(处长 1410 元)，级别工资"
         "由( 档 582 元)晋升到( 档 642 元)，月增资  元，从 2010 年 01 月起执行。"},
    };
    return list;
}

class JgWording : public JgRosterTest
{
protected:
    void SetUp() override
    {
        std::vector<SheetRow> rows;
        int row = 7;
        for (const Case &c : cases())
            rows.push_back({row++, with(dutyChange(), c.changes)});
        writeAndOpen(rows);
        // one line holds the whole sentence
        widthText = "1000";
    }
};

TEST_F(JgWording, ByteForByte)
{
    int row = 7;
    for (const Case &c : cases()) {
        SCOPED_TRACE(c.name);
        const report::RenderedPage p = page(row++);
        EXPECT_EQ(textOf(p, "y1"), c.wording);
        EXPECT_EQ(textOf(p, "y2"), "");
    }
}

TEST_F(JgWording, BracketsAsTheApprovedTextsHaveThem)
{
    const report::RenderedPage duty = page(7);
    const std::string dutyText = textOf(duty, "y1");
    EXPECT_NE(dutyText.find(" 元)，级别工资"), std::string::npos);
    EXPECT_EQ(dutyText.find("）"), std::string::npos);
    EXPECT_EQ(dutyText.find("（"), std::string::npos);

    const report::RenderedPage worker = page(11);
    const std::string workerText = textOf(worker, "y1");
    // exactly one full-width bracket, closing the technical grade; it opens with an ASCII one
    EXPECT_NE(workerText.find("(技师 270 元），岗位工资"), std::string::npos);
    EXPECT_EQ(workerText.find("）"), workerText.rfind("）"));
    EXPECT_EQ(workerText.find("（"), std::string::npos);
}

TEST_F(JgWording, CircularTakenFromTheRecordAsLoaded)
{
    settings.FileNo = gbk::fromUtf8("abc(2010)3号");
    const std::string text = textOf(page(7), "y1");
    EXPECT_EQ(text.rfind("根据abc(2010)3号文件规定，", 0), 0u) << text;
}

} // namespace
