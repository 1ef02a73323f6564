#include "zw/zw_form.h"

#include "common/pub_func.h"
#include "report/approval_form_frame.h"
#include "report/wording_lines.h"
#include "spreadsheet/spreadsheet_session.h"
#include "zw/zw_fields.h"
#include "zw/zw_wording.h"

#include <string>

namespace quvela::zw {
namespace {

using report::Align;

struct LabelPlace
{
    const char *name;
    double x;
    double y;
    double width; // 0: the label takes the width of its text
    Align align;
};

// The ZW data labels, millimetres from the form band's corner.
constexpr LabelPlace kLabels[] = {
    {"l_xm", 19.3, 1.6, 14.3, Align::Left},     {"l_xb", 63.2, 1.3, 12.7, Align::Center},
    {"l_whcd", 92.3, 1.6, 20.1, Align::Center}, {"l_csny", 19.3, 9.3, 14.3, Align::Left},
    {"l_gzny", 63.5, 9.3, 15.6, Align::Left},   {"l_tsny", 130.2, 9.3, 13.2, Align::Left},
    {"lb_bdyy", 24.6, 15.3, 0, Align::Left},    {"lb_ndkh", 94.5, 15.3, 0, Align::Left},
    {"zw0", 128.6, 16.1, 29.6, Align::Left},    {"zw1", 62.7, 22.2, 43.4, Align::Left},
    {"l_ny1", 128.9, 22.2, 16.9, Align::Left},  {"l_gw1", 92.1, 36.0, 12.2, Align::Right},
    {"m_gw1", 93.4, 43.9, 12.2, Align::Right},  {"l_xj1", 95.0, 49.7, 10.6, Align::Right},
    {"m_xj1", 93.4, 57.1, 12.2, Align::Right},  {"l_bt1", 93.4, 64.3, 12.2, Align::Right},
    {"l_tmp1", 93.4, 78.1, 12.2, Align::Right}, {"l_ph1", 93.4, 84.4, 12.2, Align::Right},
    {"zw2", 63.0, 90.5, 43.1, Align::Left},     {"l_ny2", 128.9, 90.5, 16.9, Align::Left},
    {"l_gw2", 91.8, 105.6, 12.2, Align::Right}, {"m_gw2", 93.4, 113.0, 12.7, Align::Right},
    {"l_xj2", 95.0, 119.3, 10.6, Align::Right}, {"m_xj2", 93.1, 125.7, 13.0, Align::Right},
    {"l_bt2", 93.4, 133.1, 12.7, Align::Right}, {"l_ph2", 93.7, 146.6, 12.2, Align::Right},
};

GbkString decimal(int value)
{
    return std::to_string(value);
}

} // namespace

TZwPrnForm::TZwPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, const std::vector<int> &zwCol,
                       WidthText widthText, const TZwcs &settings)
    : m_sheet(sheet), m_row(currentRow), m_zwCol(zwCol), m_widthText(std::move(widthText)), m_settings(settings)
{
    report::buildApprovalForm(m_report, report::kZwFormVariant);
    report::ReportBand &band = m_report.formBand();
    for (const LabelPlace &place : kLabels) {
        report::ReportLabel l = report::dataLabel(place.name, place.x, place.y, place.width, place.align);
        l.autoWidth = place.width == 0;
        band.addLabel(std::move(l));
    }
    band.label("lb_bdyy").bold = true;
    m_report.setNeedData([this](bool &moreData) { qrZWGZNeedData(moreData); });
    FormCreate();
}

void TZwPrnForm::FormCreate()
{
    // The margins in force are the fill's to set.
}

GbkString TZwPrnForm::cell(int field) const
{
    return m_sheet.readCellText(m_row, m_zwCol.at(std::size_t(field - 1)));
}

void TZwPrnForm::qrZWGZNeedData(bool & /*moreData: left as the engine set it*/)
{
    m_report.page().margins.left = 15;
    m_report.page().margins.top = 18;

    report::ReportBand &band = m_report.formBand();
    auto set = [&band](const char *name, GbkString text) -> const GbkString & {
        GbkString &label = band.label(name).text;
        label = std::move(text);
        return label;
    };

    set("l_xm", cell(field::Name));
    set("l_xb", cell(field::Sex));
    set("l_whcd", cell(field::Education));
    set("l_csny", FormatYearMonth(cell(field::Birth)));
    set("l_gzny", FormatYearMonth(cell(field::WorkStart)));
    set("l_tsny", FormatYearMonth(cell(field::ServiceStart)));
    set("lb_bdyy", cell(field::Reason));
    const GbkString postSince = cell(field::PostSince);
    // The year of the current post: its first four bytes, never half of a character
    // when the clerk typed a word there.
    int yearBytes = 4;
    set("lb_ndkh", CopyWholeChars(postSince, yearBytes));

    ZwOpinionValues v;
    set("zw0", cell(field::Post));
    GbkString previous = cell(field::PreviousPost);
    if (gbk::trimmed(previous).empty())
        previous = cell(field::OldGrade);
    v.zw1 = set("zw1", previous);
    v.zw2 = set("zw2", cell(field::Post));
    set("l_ny1", FormatYearMonth(cell(field::PreviousPostSince)));
    const GbkString ny2 = set("l_ny2", FormatYearMonth(postSince));
    v.gwdj1 = set("l_gw1", cell(field::OldGrade));
    v.gwdj2 = set("l_gw2", cell(field::NewGrade));
    v.gw1 = set("m_gw1", cell(field::OldPostWage));
    v.gw2 = set("m_gw2", cell(field::NewPostWage));
    v.xjdj1 = set("l_xj1", cell(field::OldStep));
    v.xjdj2 = set("l_xj2", cell(field::NewStep));
    v.xj1 = set("m_xj1", cell(field::OldStepWage));
    v.xj2 = set("m_xj2", cell(field::NewStepWage));
    v.bf1 = set("l_bt1", cell(field::OldTenPercent));
    v.bf2 = set("l_bt2", cell(field::NewTenPercent));
    set("l_tmp1", {});
    set("l_ph1", cell(field::OldTotal));
    set("l_ph2", cell(field::NewTotal));

    const GbkString opinionTemplate(gbk::trimmed(cell(field::OpinionTemplate)));
    ShiftYearMonth(ny2, +1, v.start);
    v.increase = cell(field::Increase);
    GbkString opinion;
    if (!opinionTemplate.empty()) {
        opinion = templateOpinion(opinionTemplate, v);
    } else {
        v.oldTenPercentCell = v.bf1;
        opinion = generatedOpinion(m_settings.FileNo, v);
    }

    const std::array<GbkString, 4> lines = report::breakWordingLines(opinion, StrToInt(m_widthText()));
    set("y1", lines[0]);
    set("y2", lines[1]);
    set("y3", lines[2]);
    set("y4", lines[3]);

    const QDate date = m_settings.PrintDate.date();
    set("Lb_year", decimal(date.year()) + gbk::fromUtf8(" 年 ") + decimal(date.month()) + gbk::fromUtf8(" 月 ")
                       + decimal(date.day()) + gbk::fromUtf8(" 日"));
    set("lb_area", m_settings.Issuer);
}

} // namespace quvela::zw
