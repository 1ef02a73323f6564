// The three wordings piece by piece, and the grade names of workers.
#include "jb/jb_wording.h"
#include "jb/worker_grade.h"

#include <gtest/gtest.h>

#include <string>

using namespace quvela;
using namespace quvela::jb;

namespace {

enum class Template { N12, N3, R };

struct Case
{
    const char *name;
    Template kind;
    const char *fileNo;
    int32_t year;
    const char *oldStep, *oldWage, *newStep, *newWage, *increase, *grade;
    const char *wording;
    std::size_t bytes;
};

const Case kCases[] = {
    {"N12", Template::N12, "某人社(2007)49号", 2010, "3", "790", "4", "850", "60", "",
     "根据某人社(2007)49号文件规定，该同志2008、2009年年度考核为称职，拟同意其正常增加一个级别工资档次，级别工资由 "
     "3 档 790 元晋升到 4 档 850 元，月增资 60 元，从 2010 年 1 月起执行。",
     177},
    {"N12_short_circular", Template::N12, "zar(2007)49号", 2010, "3", "790", "4", "850", "60", "",
     "根据zar(2007)49号文件规定，该同志2008、2009年年度考核为称职，拟同意其正常增加一个级别工资档次，级别工资由 "
     "3 档 790 元晋升到 4 档 850 元，月增资 60 元，从 2010 年 1 月起执行。",
     174},
    // The grade is not wanted by the civil servants' wording.
    {"N12_ignores_grade", Template::N12, "F", 2000, "a", "b", "c", "d", "e", "技师",
     "根据F文件规定，该同志1998、1999年年度考核为称职，拟同意其正常增加一个级别工资档次，级别工资由 a 档 b 元晋升到 "
     "c 档 d 元，月增资 e 元，从 2000 年 1 月起执行。",
     0},
    {"N3", Template::N3, "某人社(2007)49号", 2010, "3", "790", "4", "850", "60", "高级技师",
     "根据某人社(2007)49号文件规定，该同志2008、2009年年度考核为称职，拟同意其正常增加一个岗位工资档次，岗位工资由（"
     "高级技师）3 档 790 元晋升到（高级技师）4 档 850 元，月增资 60 元，从 2010 年 1 月起执行。",
     0},
    {"N3_without_grade", Template::N3, "F", 2011, "1", "500", "2", "530", "30", "",
     "根据F文件规定，该同志2009、2010年年度考核为称职，拟同意其正常增加一个岗位工资档次，岗位工资由（）1 档 500 "
     "元晋升到（）2 档 530 元，月增资 30 元，从 2011 年 1 月起执行。",
     0},
    {"R", Template::R, "某人社(2007)196号", 2010, "20-3", "1020", "19-3", "1100", "80", "",
     "根据某人社(2007)196号文件规定，该同志2010年达到级别工资套改表规定的上一级别套改年限（或任职年限），拟同意其晋升"
     "一个级别，级别工资由 20-3 档 1020 元晋升为 19-3 档 1100 元，月增资 80 元，从 2010 年 1 月起执行。",
     0},
    {"R_empty_figures", Template::R, "", 2012, "", "", "", "", "", "",
     "根据文件规定，该同志2012年达到级别工资套改表规定的上一级别套改年限（或任职年限），拟同意其晋升一个级别，级别工资由 "
     " 档  元晋升为  档  元，月增资  元，从 2012 年 1 月起执行。",
     0},
    // A figure that looks like a placeholder is printed as it stands.
    {"R_figures_verbatim", Template::R, "x&year", 2010, "&file", "abc", "1", "2", "3", "",
     "根据x&year文件规定，该同志2010年达到级别工资套改表规定的上一级别套改年限（或任职年限），拟同意其晋升一个级别，"
     "级别工资由 &file 档 abc 元晋升为 1 档 2 元，月增资 3 元，从 2010 年 1 月起执行。",
     0},
};

class JbWording : public testing::TestWithParam<Case>
{
};

TEST_P(JbWording, ByteForByte)
{
    const Case &c = GetParam();
    JbWordingFigures f;
    f.fileNo = gbk::fromUtf8(c.fileNo);
    f.year = c.year;
    f.oldStep = gbk::fromUtf8(c.oldStep);
    f.oldWage = gbk::fromUtf8(c.oldWage);
    f.newStep = gbk::fromUtf8(c.newStep);
    f.newWage = gbk::fromUtf8(c.newWage);
    f.increase = gbk::fromUtf8(c.increase);
    f.grade = gbk::fromUtf8(c.grade);
    const GbkString w = c.kind == Template::N12 ? normalStepWording(f)
        : c.kind == Template::N3                ? workerStepWording(f)
                                                : rollingWording(f);
    EXPECT_EQ(gbk::toUtf8(w), c.wording);
    if (c.bytes) {
        EXPECT_EQ(w.size(), c.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, JbWording, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

struct GradeCase
{
    int32_t wage;
    const char *name;
};

const GradeCase kGrades[] = {
    {0, "普工"}, {125, "初级工"}, {155, "中级工"}, {195, "高级工"}, {270, "技师"}, {410, "高级技师"},
    {200, ""},   {-125, ""},      {126, ""},      {830, ""},
};

class WorkerGrade : public testing::TestWithParam<GradeCase>
{
};

TEST_P(WorkerGrade, Name)
{
    EXPECT_EQ(gbk::toUtf8(workerGradeName(GetParam().wage)), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Wages, WorkerGrade, testing::ValuesIn(kGrades),
                         [](const testing::TestParamInfo<GradeCase> &p) {
                             const int32_t w = p.param.wage;
                             return (w < 0 ? "minus" : "") + std::to_string(w < 0 ? -w : w);
                         });

} // namespace
