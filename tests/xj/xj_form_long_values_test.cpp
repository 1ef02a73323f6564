// The XJ form of a person whose every field is as long as the import lets it be: each
// value is printed whole inside its cell, and only the values wider than their cells are
// drawn narrower.
#include "report/json_dump.h"
#include "xj/xj_form.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

using namespace quvela;
using namespace quvela::xj;

namespace {

// Text fields at their byte limits, amounts at the widest 32-bit values.
XjRecord longestPerson()
{
    XjRecord r;
    r.xm = gbk::fromUtf8("欧阳晓明");                         // 8 bytes
    r.xb = gbk::fromUtf8("男");                               // 2
    r.whcd = gbk::fromUtf8("硕士研究生");                     // 10
    r.csny = "1965.07";                                        // 7
    r.gzny = "1985.07";
    r.tsny = "1985.07";
    r.ndkh = gbk::fromUtf8("优秀并嘉奖");                     // 10
    r.xrzw = gbk::fromUtf8("中学高级教师兼教务处副主任科员"); // 30
    r.zwny = "2009.01";
    r.zwlb = 2;
    r.gwdj1 = gbk::fromUtf8("专业技术岗位十级");              // 16
    r.gwdj2 = gbk::fromUtf8("专业技术岗位九级");
    r.gwgz1 = r.gwgz2 = INT32_MIN;
    r.xjdj1 = r.xjdj2 = INT32_MIN;
    r.xjgz1 = r.xjgz2 = INT32_MIN;
    r.bf101 = r.bf102 = INT32_MAX; // printed only when above 0
    r.heji1 = r.heji2 = INT32_MIN;
    r.zzhj = INT32_MIN;
    return r;
}

TXtcs settings()
{
    TXtcs s;
    s.FileNo = "zar(2007)50";
    s.Year = 2010;
    s.PrintDate = QDateTime(QDate(2010, 12, 28), QTime(0, 0));
    s.Issuer = gbk::fromUtf8("vodeve工资处制");
    return s;
}

TEST(XjFormLongValues, EveryValueWholeInsideItsCellOnlyTheWideOnesNarrower)
{
    const XjRecord row = longestPerson();
    const TXtcs s = settings();
    TXjPrnForm form(row, s);
    const QJsonObject page = QJsonDocument::fromJson(QByteArray::fromStdString(report::pageJson(form.run()))).object();

    // true: wider than its cell, drawn narrower; false: drawn as designed
    const std::map<std::string, bool> expected = {
        {"l_xm", false},   {"l_xb", false},  {"l_whcd", false},   {"l_csny", false}, {"l_gzny", false},
        {"l_tsny", false}, {"QRLabel47", false}, {"lb_ndkh", false}, {"zw0", true},   {"zw1", true},
        {"zw2", true},     {"l_ny1", false}, {"l_ny2", false},    {"l_gw1", true},   {"l_gw2", true},
        {"m_gw1", true},   {"m_gw2", true},  {"l_xj1", true},     {"l_xj2", true},   {"m_xj1", true},
        {"m_xj2", true},   {"l_bt1", true},  {"l_bt2", true},     {"l_ph1", true},   {"l_ph2", true},
        {"y1", false},     {"y2", true},     {"y3", true},        {"Lb_year", false}, {"lb_area", false},
    };
    std::map<std::string, bool> seen;
    for (const QJsonValue v : page.value(QLatin1String("labels")).toArray()) {
        const QJsonObject l = v.toObject();
        const std::string name = l.value(QLatin1String("name")).toString().toStdString();
        auto value = [&](const char *key) { return l.value(QLatin1String(key)).toDouble(); };
        if (!expected.count(name))
            continue;
        SCOPED_TRACE(name);
        const double left = value("drawn_x_mm"), width = value("drawn_width_mm");
        EXPECT_GE(left, value("cell_x1_mm") - 0.001);
        EXPECT_LE(left + width, value("cell_x2_mm") + 0.001);
        const bool narrower = value("stretch") < 1;
        seen[name] = narrower;
        EXPECT_EQ(narrower, expected.at(name));
        if (!narrower) {
            EXPECT_EQ(value("drawn_size_pt"), value("size_pt"));
        }
    }
    EXPECT_EQ(seen.size(), expected.size());

    // nothing is cut: the texts are the values in full
    const QJsonArray labels = page.value(QLatin1String("labels")).toArray();
    auto text = [&](const char *name) {
        for (const QJsonValue v : labels)
            if (v.toObject().value(QLatin1String("name")).toString() == QLatin1String(name))
                return v.toObject().value(QLatin1String("text")).toString().toStdString();
        return std::string();
    };
    EXPECT_EQ(text("zw0"), gbk::toUtf8(row.xrzw));
    EXPECT_EQ(text("l_gw2"), "专技" + gbk::toUtf8(row.gwdj2));
    EXPECT_EQ(text("m_xj2"), "-2147483648");
    EXPECT_EQ(text("y2"), "正常增加一个薪级，薪级工资由 -2147483648 级 -2147483648 元增加到 -2147483648 级 "
                          "-2147483648 元，（提高工资10%");
}

} // namespace
