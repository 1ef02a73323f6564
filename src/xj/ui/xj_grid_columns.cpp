#include "xj/ui/xj_grid_columns.h"

namespace quvela::xj {

QStringList xjGridTitles(int year)
{
    // The group over the old wages names December of the year before the adjustment.
    const QString y = QString::number(qint64(year) - 1);
    const QString old = y + QStringLiteral(" 年 12 月 工 资 情 况|");
    const QString raised = QStringLiteral("正常增加一级薪级工资后工资情况|");
    const QString increase = QStringLiteral("月增加薪级工资情况|");
    return {
        QStringLiteral("序号|甲"),
        QStringLiteral("姓名|1"),
        QStringLiteral("性别|2"),
        QStringLiteral("出生\r\n\r\n年月|3"),
        QStringLiteral("参加\r\n工作\r\n时间|4"),
        QStringLiteral("连续\r\n工龄\r\n推算\r\n时间|5"),
        y + QStringLiteral("\r\n年度\r\n考核\r\n情况|6"),
        old + QStringLiteral("职  务\r\n(技术等级)|7"),
        old + QStringLiteral("任职\r\n时间|8"),
        old + QStringLiteral("合计|9"),
        old + QStringLiteral("岗位\r\n等级|10"),
        old + QStringLiteral("岗位\r\n工资|11"),
        old + QStringLiteral("薪级\r\n等级|12"),
        old + QStringLiteral("薪级\r\n工资|13"),
        old + QStringLiteral("提高\r\n10％|14"),
        old + QStringLiteral(" |15"),
        raised + QStringLiteral("合计|16"),
        raised + QStringLiteral("岗位\r\n等级|17"),
        raised + QStringLiteral("岗位\r\n工资|18"),
        raised + QStringLiteral("薪级\r\n等级|19"),
        raised + QStringLiteral("薪级\r\n工资|20"),
        raised + QStringLiteral("提高\r\n10％|21"),
        raised + QStringLiteral(" |22"),
        increase + QStringLiteral("合计|23"),
        increase + QStringLiteral("薪级\r\n工资|24"),
        increase + QStringLiteral("提高\r\n10％|25"),
        increase + QStringLiteral(" |26"),
        QStringLiteral("补发\r\n工资|27"),
        QStringLiteral("备    注|28"),
        QStringLiteral("控制位|职务|29"),
        QStringLiteral("控制位|调资否|30"),
        QStringLiteral("文化\r\n程度|31"),
    };
}

std::vector<Qt::Alignment> xjGridAlignments()
{
    constexpr Qt::Alignment C = Qt::AlignHCenter;
    constexpr Qt::Alignment L = Qt::AlignLeft;
    constexpr Qt::Alignment R = Qt::AlignRight;
    return {C, L, C, C, C, C, C, C, C, R, C, R, C, R, R, R,
            R, C, R, C, R, R, R, R, R, R, R, R, L, C, C, C};
}

} // namespace quvela::xj
