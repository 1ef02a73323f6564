#include "xj/xj_form.h"

#include "common/pub_func.h"
#include "report/approval_form_frame.h"
#include "report/institution_form_labels.h"
#include "report/wording_template.h"

#include <string>

namespace quvela::xj {
namespace {

GbkString decimal(int32_t value)
{
    return std::to_string(value);
}

// The design texts of the wording lines; the fill replaces their placeholders once.
constexpr const char *kWordingY1 = "    根据&file文件规定，该同志 &year 年年度考核为 &ndkh ，拟同意其";
constexpr const char *kWordingY2 = "正常增加一个薪级，薪级工资由 &xj1 元增加到 &xj2 元，（提高工资10%";
constexpr const char *kWordingY3 = "部分由 &bf1 元增加到 &bf2 元），月增资 &zz 元，从 &year 年 1 月起执行。";

} // namespace

TXjPrnForm::TXjPrnForm(XjRecord row, const TXtcs &settings)
    : m_row(std::move(row)), m_settings(settings)
{
    report::buildApprovalForm(m_report, report::kXjFormVariant);
    report::ReportBand &band = m_report.formBand();
    report::addInstitutionFormLabels(band, "QRLabel47");
    band.label("QRLabel47").text = gbk::fromUtf8("正常晋升薪级工资");

    band.label("y1").text = gbk::fromUtf8(kWordingY1);
    band.label("y2").text = gbk::fromUtf8(kWordingY2);
    band.label("y3").text = gbk::fromUtf8(kWordingY3);
    band.label("Lb_year").text = gbk::fromUtf8("&year 年 &month 月 &day 日");
    band.label("lb_area").text = gbk::fromUtf8("vodeve工资处制");

    m_report.setNeedData([this](bool &moreData) { qrXJGZNeedData(moreData); });
    FormCreate();
}

void TXjPrnForm::FormCreate()
{
    m_report.page().margins.left = 15;
    m_report.page().margins.top = 18;
}

GbkString TXjPrnForm::categoryText(int32_t zwlb)
{
    switch (zwlb) {
    case 1: return gbk::fromUtf8("职员");
    case 2: return gbk::fromUtf8("专技");
    case 3: return gbk::fromUtf8("技工");
    case 4: return gbk::fromUtf8("普工");
    default: return {};
    }
}

void TXjPrnForm::qrXJGZNeedData(bool & /*moreData: left as the engine set it*/)
{
    report::ReportBand &band = m_report.formBand();
    auto set = [&band](const char *name, GbkString text) { band.label(name).text = std::move(text); };
    const XjRecord &r = m_row;
    const GbkString lastYear = decimal(m_settings.Year - 1);

    report::fillPersonCells(band, {r.xm, r.xb, r.whcd, r.csny, r.gzny, r.tsny});
    set("lb_ndkh", lastYear);
    set("zw0", r.xrzw);
    set("zw1", r.xrzw);
    set("zw2", r.xrzw);
    set("l_ny1", FormatYearMonth(r.zwny));
    set("l_ny2", FormatYearMonth(r.zwny));
    const GbkString category = categoryText(r.zwlb);
    set("l_gw1", category + r.gwdj1);
    set("l_gw2", category + r.gwdj2);
    set("m_gw1", decimal(r.gwgz1));
    set("m_gw2", decimal(r.gwgz2));
    set("l_xj1", decimal(r.xjdj1));
    set("l_xj2", decimal(r.xjdj2));
    set("m_xj1", decimal(r.xjgz1));
    set("m_xj2", decimal(r.xjgz2));
    set("l_bt1", r.bf101 > 0 ? decimal(r.bf101) : GbkString());
    set("l_bt2", r.bf102 > 0 ? decimal(r.bf102) : GbkString());
    set("l_tmp1", {});
    set("l_ph1", decimal(r.heji1));
    set("l_ph2", decimal(r.heji2));

    // The wording is filled from its templates once: a second run of the handler finds
    // no placeholders left, and values are never searched for placeholders themselves.
    if (!m_wordingFilled) {
        m_wordingFilled = true;
        const report::TemplateValue line1[] = {
            {"&file", m_settings.FileNo},
            {"&ndkh", GbkString(gbk::trimmed(r.ndkh)) + ' '},
            {"&year", lastYear},
        };
        GbkString &y1 = band.label("y1").text;
        y1 = report::fillTemplate(y1, line1);

        const GbkString ji = gbk::fromUtf8(" 级 ");
        const report::TemplateValue line2[] = {
            {"&xj1", decimal(r.xjdj1) + ji + decimal(r.xjgz1)},
            {"&xj2", decimal(r.xjdj2) + ji + decimal(r.xjgz2)},
        };
        GbkString &y2 = band.label("y2").text;
        y2 = report::fillTemplate(y2, line2);

        const report::TemplateValue line3[] = {
            {"&zz", decimal(r.zzhj)},
            {"&year", decimal(m_settings.Year)},
            {"&bf1", r.bf101 > 0 ? decimal(r.bf101) : GbkString("--")},
            {"&bf2", r.bf102 > 0 ? decimal(r.bf102) : GbkString("--")},
        };
        GbkString &y3 = band.label("y3").text;
        y3 = report::fillTemplate(y3, line3);
    }

    report::fillDateAndIssuer(band, m_settings.PrintDate.date(), m_settings.Issuer);
}

} // namespace quvela::xj
