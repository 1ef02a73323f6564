#include "zw/zw_form.h"

#include "common/pub_func.h"
#include "report/approval_form_frame.h"
#include "report/institution_form_labels.h"
#include "report/wording_lines.h"
#include "spreadsheet/spreadsheet_session.h"
#include "zw/zw_fields.h"
#include "zw/zw_wording.h"

#include <string>

namespace quvela::zw {
TZwPrnForm::TZwPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, const std::vector<int> &zwCol,
                       WidthText widthText, const TZwcs &settings)
    : m_sheet(sheet), m_row(currentRow), m_zwCol(zwCol), m_widthText(std::move(widthText)), m_settings(settings)
{
    report::buildApprovalForm(m_report, report::kZwFormVariant);
    report::addInstitutionFormLabels(m_report.formBand(), "lb_bdyy");
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

    report::fillPersonCells(band, {cell(field::Name), cell(field::Sex), cell(field::Education), cell(field::Birth),
                                   cell(field::WorkStart), cell(field::ServiceStart)});
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

    report::fillWordingLines(band, opinion, StrToInt(m_widthText()));
    report::fillDateAndIssuer(band, m_settings.PrintDate.date(), m_settings.Issuer);
}

} // namespace quvela::zw
