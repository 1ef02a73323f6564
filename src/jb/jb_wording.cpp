#include "jb/jb_wording.h"

#include <initializer_list>
#include <string>

namespace quvela::jb {
namespace {

// Pieces are UTF-8 literals or GBK values; the literals are converted here once each.
struct Piece
{
    const char *utf8 = nullptr;
    const GbkString *gbk = nullptr;
    Piece(const char *text) : utf8(text) {}
    Piece(const GbkString &text) : gbk(&text) {}
};

GbkString join(std::initializer_list<Piece> pieces)
{
    GbkString out;
    for (const Piece &p : pieces)
        out += p.gbk ? *p.gbk : gbk::fromUtf8(p.utf8);
    return out;
}

} // namespace

GbkString normalStepWording(const JbWordingFigures &f)
{
    const GbkString y2 = std::to_string(int64_t{f.year} - 2), y1 = std::to_string(int64_t{f.year} - 1);
    const GbkString y = std::to_string(f.year);
    return join({"根据", f.fileNo, "文件规定，该同志", y2, "、", y1,
                 "年年度考核为称职，拟同意其正常增加一个级别工资档次，级别工资由 ", f.oldStep, " 档 ",
                 f.oldWage, " 元晋升到 ", f.newStep, " 档 ", f.newWage, " 元，月增资 ", f.increase,
                 " 元，从 ", y, " 年 1 月起执行。"});
}

GbkString workerStepWording(const JbWordingFigures &f)
{
    const GbkString y2 = std::to_string(int64_t{f.year} - 2), y1 = std::to_string(int64_t{f.year} - 1);
    const GbkString y = std::to_string(f.year);
    return join({"根据", f.fileNo, "文件规定，该同志", y2, "、", y1,
                 "年年度考核为称职，拟同意其正常增加一个岗位工资档次，岗位工资由（", f.grade, "）",
                 f.oldStep, " 档 ", f.oldWage, " 元晋升到（", f.grade, "）", f.newStep, " 档 ",
                 f.newWage, " 元，月增资 ", f.increase, " 元，从 ", y, " 年 1 月起执行。"});
}

GbkString rollingWording(const JbWordingFigures &f)
{
    const GbkString y = std::to_string(f.year);
    return join({"根据", f.fileNo, "文件规定，该同志", y,
                 "年达到级别工资套改表规定的上一级别套改年限（或任职年限），拟同意其晋升一个级别，级别工资由 ",
                 f.oldStep, " 档 ", f.oldWage, " 元晋升为 ", f.newStep, " 档 ", f.newWage, " 元，月增资 ",
                 f.increase, " 元，从 ", y, " 年 1 月起执行。"});
}

} // namespace quvela::jb
