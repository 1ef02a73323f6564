#include "jg/jg_form.h"

#include "common/pub_func.h"
#include "common/staff_category.h"
#include "jg/jg_wording.h"
#include "report/approval_form_frame.h"
#include "report/government_form_labels.h"
#include "report/wording_lines.h"
#include "spreadsheet/spreadsheet_session.h"

#include <string>

namespace quvela::jg {

TJgPrnForm::TJgPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, WidthText widthText,
                       const TJgcs &settings)
    : m_sheet(sheet), m_row(currentRow), m_widthText(std::move(widthText)), m_settings(settings)
{
    report::buildApprovalForm(m_report, report::kGovernmentFormVariant);
    report::addGovernmentFormLabels(m_report.formBand());
    m_report.setNeedData([this](bool &moreData) { qrJGGZNeedData(moreData); });
    FormCreate();
}

void TJgPrnForm::FormCreate()
{
    m_report.page().margins.left = 15;
    m_report.page().margins.top = 18;
}

void TJgPrnForm::qrJGGZNeedData(bool & /*moreData: left as the engine set it*/)
{
    report::ReportBand &band = m_report.formBand();
    auto set = [&band](const char *name, GbkString text) { band.label(name).text = std::move(text); };
    auto cell = [this](int columnNumber) { return m_sheet.readCellText(m_row, columnNumber); };

    const QDate date = m_settings.PrintDate.date();
    const StaffCategory oldCategory = DutyWageCategory(m_sheet.readCellInteger(m_row, column::OldAmount));
    const StaffCategory newCategory = DutyWageCategory(m_sheet.readCellInteger(m_row, column::NewAmount));
    if (oldCategory == StaffCategory::Worker)
        report::moveAmountsToWorkerColumn(band, report::WageBlock::Old, kWorkerAmountX);
    if (newCategory == StaffCategory::Worker)
        report::moveAmountsToWorkerColumn(band, report::WageBlock::New, kWorkerAmountX);

    report::fillPersonCells(band, {cell(column::Name), cell(column::Sex), cell(column::Education),
                                   cell(column::Birth), cell(column::WorkStart), cell(column::ServiceStart)});
    set("lb_bdyy", gbk::fromUtf8("职务变动"));

    const GbkString newPostSince = cell(column::NewPostSince);
    // The appraisal period starts in the year of the new post: the date's first four
    // bytes, never half of a character when the clerk typed a word there.
    int yearBytes = 4;
    set("lb_ndkh", CopyWholeChars(newPostSince, yearBytes));

    const GbkString oldPost = cell(column::OldPost);
    const GbkString newPost = cell(column::NewPost);
    set("zw0", cell(column::Post));
    set("zw1", oldPost);
    set("zw2", newPost);
    set("l_ny1", FormatYearMonth(cell(column::OldPostSince)));
    set("l_ny2", FormatYearMonth(newPostSince));

    // A worker's grade cell names the technical grade and the amount goes one row down;
    // a duty wage goes into the row of its kind.
    auto placeAmount = [&](StaffCategory category, const char *gradeCell, const char *amountCell,
                           const GbkString &post, const GbkString &amount) {
        set(gradeCell, {});
        set(amountCell, {});
        switch (category) {
        case StaffCategory::Worker:
            set(gradeCell, post);
            set(amountCell, amount);
            break;
        case StaffCategory::LeadingPost: set(gradeCell, amount); break;
        case StaffCategory::NonLeadingPost: set(amountCell, amount); break;
        }
    };
    const GbkString oldAmount = cell(column::OldAmount);
    const GbkString newAmount = cell(column::NewAmount);
    placeAmount(oldCategory, "l_gw1", "m_gw1", oldPost, oldAmount);
    placeAmount(newCategory, "l_gw2", "m_gw2", newPost, newAmount);

    set("l_xj1", cell(column::OldStep));
    set("l_xj2", cell(column::NewStep));
    set("m_xj1", cell(column::OldRankWage));
    set("m_xj2", cell(column::NewRankWage));
    set("l_ph1", cell(column::OldTotal));
    set("l_ph2", cell(column::NewTotal));

    JgWordingFacts facts;
    facts.fileNo = m_settings.FileNo;
    facts.newCategory = newCategory;
    facts.oldPost = oldPost;
    facts.newPost = newPost;
    facts.oldAmount = oldAmount;
    facts.newAmount = newAmount;
    facts.direction = directionWord(band.label("l_gw1").text, band.label("l_gw2").text);
    facts.oldStep = band.label("l_xj1").text;
    facts.newStep = band.label("l_xj2").text;
    facts.oldRankWage = band.label("m_xj1").text;
    facts.newRankWage = band.label("m_xj2").text;
    facts.increase = cell(column::Increase);
    // The change takes effect in the month after the new post was taken up; a date
    // outside the years the office handles leaves the year and month blank for the
    // clerk to write in.
    TPny start;
    if (ShiftYearMonth(band.label("l_ny2").text, +1, start)) {
        facts.startYear = start.Year;
        facts.startMonth = start.Month;
    }

    report::fillWordingLines(band, composeWording(facts), StrToInt(m_widthText()));
    report::fillDateAndIssuer(band, date, m_settings.Issuer);
}

} // namespace quvela::jg
