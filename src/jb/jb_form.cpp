#include "jb/jb_form.h"

#include "common/pub_func.h"
#include "jb/jb_wording.h"
#include "jb/worker_grade.h"
#include "report/approval_form_frame.h"
#include "report/government_form_labels.h"
#include "report/wording_lines.h"
#include "spreadsheet/spreadsheet_session.h"

#include <string>

namespace quvela::jb {
namespace {

// The left edge of a worker's amounts: inside the workers' value cells (142.3 to 158.8 mm),
// 542 pixels at the 96 per inch the form was drawn at.
constexpr double kWorkerAmountX = 143.4;

GbkString decimal(int64_t value)
{
    return std::to_string(value);
}

} // namespace

TJbPrnForm::TJbPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, GbkString widthText,
                       const TJbcs &settings)
    : m_sheet(sheet), m_row(currentRow), m_widthText(std::move(widthText)), m_settings(settings)
{
    report::buildApprovalForm(m_report, report::kGovernmentFormVariant);
    report::addGovernmentFormLabels(m_report.formBand());
    m_report.setNeedData([this](bool &moreData) { qrJBGZNeedData(moreData); });
    FormCreate();
}

void TJbPrnForm::FormCreate()
{
    m_report.page().margins.left = 15;
    m_report.page().margins.top = 18;
}

GbkString TJbPrnForm::text(int column) const
{
    return m_sheet.readCellText(m_row, column);
}

int32_t TJbPrnForm::integer(int column) const
{
    return m_sheet.readCellInteger(m_row, column);
}

void TJbPrnForm::set(const char *label, GbkString value)
{
    m_report.formBand().label(label).text = std::move(value);
}

void TJbPrnForm::qrJBGZNeedData(bool & /*moreData: left as the engine set it*/)
{
    const QDate date = m_settings.PrintDate.date();
    const int32_t year = date.year();
    const GbkString wording = m_settings.Mode == 0 ? fillNormalStep(year) : fillRolling(year);

    report::ReportBand &band = m_report.formBand();
    report::fillWordingLines(band, wording, StrToInt(m_widthText));
    report::fillDateAndIssuer(band, date, m_settings.Issuer);
}

GbkString TJbPrnForm::fillNormalStep(int32_t year)
{
    const int32_t n = integer(12);
    const StaffCategory category = DutyWageCategory(n);
    const bool worker = category == StaffCategory::Worker;
    if (worker) {
        report::ReportBand &band = m_report.formBand();
        report::moveAmountsToWorkerColumn(band, report::WageBlock::Old, kWorkerAmountX);
        report::moveAmountsToWorkerColumn(band, report::WageBlock::New, kWorkerAmountX);
    }

    report::fillPersonCells(m_report.formBand(), {text(2), text(3), text(23), text(4), text(5), text(6)});
    set("lb_bdyy", gbk::fromUtf8(worker ? "正常增加岗位工资" : "正常晋升级别工资"));
    set("lb_ndkh", decimal(int64_t{year} - 2));

    const GbkString post = text(9);
    set("zw0", post);
    set("zw1", post);
    set("zw2", post);
    const GbkString postTaken = FormatYearMonth(text(10));
    set("l_ny1", postTaken);
    set("l_ny2", postTaken);

    const GbkString grade = worker ? workerGradeName(n) : GbkString();
    const GbkString oldDuty = text(12), newDuty = text(16);
    switch (category) {
    case StaffCategory::LeadingPost:
        set("l_gw1", oldDuty);
        set("l_gw2", newDuty);
        set("m_gw1", {});
        set("m_gw2", {});
        break;
    case StaffCategory::NonLeadingPost:
        set("l_gw1", {});
        set("l_gw2", {});
        set("m_gw1", oldDuty);
        set("m_gw2", newDuty);
        break;
    case StaffCategory::Worker:
        set("l_gw1", grade);
        set("l_gw2", grade);
        set("m_gw1", oldDuty);
        set("m_gw2", newDuty);
        break;
    }

    JbWordingFigures f;
    f.fileNo = m_settings.FileNo;
    f.year = year;
    f.oldStep = text(13);
    f.newStep = text(17);
    f.oldWage = text(14);
    f.newWage = text(18);
    f.increase = text(19);
    f.grade = grade;
    set("l_xj1", f.oldStep);
    set("l_xj2", f.newStep);
    set("m_xj1", f.oldWage);
    set("m_xj2", f.newWage);
    set("l_ph1", text(11));
    set("l_ph2", text(15));
    return worker ? workerStepWording(f) : normalStepWording(f);
}

GbkString TJbPrnForm::fillRolling(int32_t year)
{
    report::fillPersonCells(m_report.formBand(), {text(2), text(23), text(27), text(24), text(25), text(26)});
    set("lb_bdyy", gbk::fromUtf8("滚动级别工资"));
    set("lb_ndkh", decimal(int64_t{year} - 4));

    // Rosters leave the post of column 11 blank where the person's post has not changed.
    GbkString post = text(11);
    if (gbk::trimmed(post).empty())
        post = text(3);
    set("zw0", post);
    set("zw1", post);
    set("zw2", post);
    const GbkString postTaken = FormatYearMonth(text(28));
    set("l_ny1", postTaken);
    set("l_ny2", postTaken);

    const int32_t d = integer(29);
    const GbkString duty = decimal(d);
    if (OfficialDutyWageCategory(d) == StaffCategory::LeadingPost) {
        set("l_gw1", duty);
        set("l_gw2", duty);
        set("m_gw1", {});
        set("m_gw2", {});
    } else {
        set("l_gw1", {});
        set("l_gw2", {});
        set("m_gw1", duty);
        set("m_gw2", duty);
    }

    // Columns 7 and 8 hold the former rank of those whose columns 12 and 13 are still
    // empty. Only a truly empty cell falls back: one holding blanks was filled in.
    JbWordingFigures f;
    f.fileNo = m_settings.FileNo;
    f.year = year;
    f.oldStep = text(12);
    int32_t oldWage = integer(13);
    if (f.oldStep.empty()) {
        f.oldStep = text(7);
        oldWage = integer(8);
    }
    // Summed in 64 bits: two amounts near the 32-bit limit must still add up.
    set("l_ph1", decimal(int64_t{oldWage} + d));
    f.newStep = text(17);
    set("l_ph2", decimal(int64_t{integer(18)} + d));
    f.oldWage = text(13);
    if (f.oldWage.empty())
        f.oldWage = text(8);
    f.newWage = text(18);
    f.increase = text(19);
    set("l_xj1", f.oldStep);
    set("l_xj2", f.newStep);
    set("m_xj1", f.oldWage);
    set("m_xj2", f.newWage);
    return rollingWording(f);
}

} // namespace quvela::jb
