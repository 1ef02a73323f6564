#include "zw/zw_wording.h"

#include "report/wording_template.h"

namespace quvela::zw {
namespace {

GbkString u(const char *utf8)
{
    return gbk::fromUtf8(utf8);
}

} // namespace

int32_t labelNumber(std::string_view text)
{
    int32_t value = 0;
    return TryStrToInt(text, value) ? value : 0;
}

GbkString generatedOpinion(const GbkString &fileNo, const ZwOpinionValues &v)
{
    const bool gradeDown = labelNumber(v.gwdj2) < labelNumber(v.gwdj1);
    const bool wageDown = labelNumber(v.gw2) < labelNumber(v.gw1);
    GbkString text;
    text += u("根据") + fileNo + u("文件规定，该同志职务由") + v.zw1 + (gradeDown ? u("低任") : u("晋升")) + u("为") + v.zw2
            + u("，拟同意其");
    text += u("岗位工资由") + v.gwdj1 + " " + v.gw1 + u(" 元") + (gradeDown ? u("降低为") : u("晋升到")) + v.gwdj2 + " "
            + v.gw2 + u(" 元，薪级工资");
    if (labelNumber(v.xj2) == labelNumber(v.xj1))
        text += u("不变，");
    else
        text += u("重新确定为 ") + v.xj2 + u(" 元，");
    text += u("（提高工资10%部分由 ");
    if (!gbk::trimmed(v.oldTenPercentCell).empty())
        text += v.bf1 + u(" 元") + (wageDown ? u("降低为 ") : u("增加到 ")) + v.bf2;
    else
        text += u(" -- 增加到 --");
    text += u(" 元），月") + (wageDown ? u("减") : u("增")) + u("资 ") + v.increase + u(" 元，从 ") + v.start.Year
            + u(" 年 ") + v.start.Month + u(" 月起执行。");
    return text;
}

GbkString templateOpinion(std::string_view trimmedTemplate, const ZwOpinionValues &v)
{
    const report::TemplateValue values[] = {
        {"&zw1", v.zw1},     {"&zw2", v.zw2},     {"&gw1", v.gw1},     {"&gw2", v.gw2},
        {"&gwdj1", v.gwdj1}, {"&gwdj2", v.gwdj2}, {"&xjdj1", v.xjdj1}, {"&xjdj2", v.xjdj2},
        {"&xj1", v.xj1},     {"&xj2", v.xj2},     {"&bf1", v.bf1},     {"&bf2", v.bf2},
        {"&zz", v.increase}, {"&ym", v.start.Year + u(" 年 ") + v.start.Month + u(" 月")},
    };
    return report::fillTemplate(trimmedTemplate, values);
}

} // namespace quvela::zw
