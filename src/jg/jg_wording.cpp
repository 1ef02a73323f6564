#include "jg/jg_wording.h"

#include "common/pub_func.h"

namespace quvela::jg {
namespace {

GbkString g(const char *utf8) { return gbk::fromUtf8(utf8); }

int32_t integerOrZero(std::string_view text)
{
    int32_t value = 0;
    return TryStrToInt(text, value) ? value : 0;
}

} // namespace

GbkString directionWord(std::string_view oldGradeCell, std::string_view newGradeCell)
{
    return integerOrZero(newGradeCell) < integerOrZero(oldGradeCell) ? g("降低") : g("晋升");
}

GbkString composeWording(const JgWordingFacts &f)
{
    const GbkString yuanClose = g(" 元)");
    const GbkString stepWord = g(" 档 ");
    GbkString t = g("根据") + f.fileNo;
    if (f.newCategory == StaffCategory::Worker) {
        t += g("文件规定，拟同意该同志技术等级工资由(") + f.oldPost + " " + f.oldAmount + yuanClose
             + f.direction + g("到(") + f.newPost + " " + f.newAmount + g(" 元），岗位工资");
        if (f.oldRankWage != f.newRankWage)
            t += g("由(") + f.oldPost + " " + f.oldStep + stepWord + f.oldRankWage + yuanClose + f.direction
                 + g("到(") + f.newPost + " " + f.newStep + stepWord + f.newRankWage + yuanClose;
        else
            t += g("不变");
    } else {
        t += g("文件规定，拟同意该同志职务工资由(") + f.oldPost + " " + f.oldAmount + yuanClose + f.direction
             + g("到(") + f.newPost + " " + f.newAmount + g(" 元)，级别工资");
        if (f.oldRankWage != f.newRankWage)
            t += g("由(") + f.oldStep + stepWord + f.oldRankWage + yuanClose + f.direction + g("到(") + f.newStep
                 + stepWord + f.newRankWage + yuanClose;
        else
            t += g("不变");
    }
    t += g("，月增资 ") + f.increase + g(" 元，从 ") + f.startYear + g(" 年 ") + f.startMonth + g(" 月起执行。");
    return t;
}

} // namespace quvela::jg
