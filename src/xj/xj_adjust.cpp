#include "xj/xj_adjust.h"

#include "common/errors.h"
#include "xj/xj_table.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace quvela::xj {
namespace {

const GbkString &caption()
{
    static const GbkString text = gbk::fromUtf8("薪级调整");
    return text;
}

bool fitsInt32(int64_t v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

GbkString rowLabel(const XjRecord &r)
{
    return gbk::fromUtf8("序号" + std::to_string(r.xh) + " ") + GbkString(gbk::trimmed(r.xm));
}

} // namespace

int64_t roundTenth(int64_t numerator)
{
    int64_t q = numerator / 10;
    const int64_t rest = numerator % 10; // same sign as the numerator
    if (rest > 5 || (rest == 5 && q % 2 != 0))
        ++q;
    else if (rest < -5 || (rest == -5 && q % 2 != 0))
        --q;
    return q;
}

std::optional<GbkString> adjustRecord(XjRecord &r, int32_t months, const GradeTable &table1,
                                      const GradeTable &table2)
{
    if (r.sftz != 1)
        return std::nullopt;

    const int64_t grade = int64_t{r.xjdj1} + 1;
    // Categories 3 and 4 (技工, 普工) have their own table; anything else, an empty
    // category included, takes the one of 职员 and 专技.
    const GradeTable &table = r.zwlb > 2 ? table2 : table1;
    const std::optional<int32_t> amount = table.amount(grade);
    if (!amount)
        return rowLabel(r)
               + gbk::fromUtf8("：新薪级" + std::to_string(grade) + "级超出薪级工资标准表（最高"
                               + std::to_string(table.highestGrade()) + "级），调薪至此停止！");

    const int64_t xjgz2 = *amount;
    int64_t bf102 = 0;
    if (r.bf101 > 0) {
        // The old supplement was 10 % either of the salary-grade wage alone or of post
        // wage plus salary-grade wage (a yuan either way for the rounding of the time);
        // the new one follows the same base.
        if (std::llabs(int64_t{r.bf101} - roundTenth(r.xjgz1)) <= 1)
            bf102 = roundTenth(xjgz2);
        else if (std::llabs(int64_t{r.bf101} - roundTenth(int64_t{r.gwgz1} + r.xjgz1)) <= 1)
            bf102 = roundTenth(int64_t{r.gwgz2} + xjgz2);
    }
    const int64_t zzxj = xjgz2 - r.xjgz1;
    const int64_t zz10 = r.bf101 > 0 ? bf102 - r.bf101 : 0;
    const int64_t heji2 = int64_t{r.gwgz2} + xjgz2 + bf102;
    const int64_t zzhj = zzxj + zz10;

    const struct
    {
        int64_t value;
        const char *label;
    } results[] = {{bf102, "10%工资"}, {zzxj, "薪级增资"}, {zz10, "10%增资"}, {heji2, "合计"}, {zzhj, "增资合计"}};
    for (const auto &res : results)
        if (!fitsInt32(res.value))
            return rowLabel(r) + gbk::fromUtf8(std::string("：") + res.label + "超出数值范围，调薪至此停止！");
    // zzhj fits 32 bits here, so the product fits 64.
    const int64_t bufa = zzhj * months;
    if (!fitsInt32(bufa))
        return rowLabel(r) + gbk::fromUtf8("：补发工资超出数值范围，调薪至此停止！");

    r.xjdj2 = static_cast<int32_t>(grade);
    r.xjgz2 = static_cast<int32_t>(xjgz2);
    r.bf102 = static_cast<int32_t>(bf102);
    r.zzxj = static_cast<int32_t>(zzxj);
    r.zz10 = static_cast<int32_t>(zz10);
    r.heji2 = static_cast<int32_t>(heji2);
    r.zzhj = static_cast<int32_t>(zzhj);
    r.bufa = static_cast<int32_t>(bufa);
    return std::nullopt;
}

bool adjustSalaryGrades(Prompts &prompts, const TXtcs &settings, XjTable &table)
{
    return runShowingErrors(prompts, [&] {
        if (table.rowCount() == 0) {
            prompts.message(gbk::fromUtf8("无调资数据 ！"), caption(), MessageIcon::Error);
            return false;
        }
        const GradeTable table1(settings.GradeTable1);
        const GradeTable table2(settings.GradeTable2);
        std::optional<GbkString> stop;
        {
            auto wait = prompts.showWait(gbk::fromUtf8("正在处理薪级工资(包括10％)及增资，请稍等..."));
            std::vector<XjTable::Row> rows = table.readAllRowsWithoutTexts();
            // Rows done before a stop keep their new values.
            XjTable::Transaction transaction(table, XjTable::Transaction::OnExit::Commit);
            for (XjTable::Row &row : rows) {
                if (row.record.sftz != 1)
                    continue;
                stop = adjustRecord(row.record, settings.Month, table1, table2);
                if (stop) {
                    // The texts were left unread; the message names the person.
                    row.record.xm = table.nameOf(row.id);
                    stop = adjustRecord(row.record, settings.Month, table1, table2);
                    break;
                }
                table.updateAdjusted(row.id, row.record);
            }
            transaction.commit();
        }
        if (stop) {
            prompts.message(*stop, caption(), MessageIcon::Error);
            return false;
        }
        return true;
    });
}

} // namespace quvela::xj
