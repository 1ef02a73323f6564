// The ruled frame of the wage-change approval form, shared by the four form reports.
#pragma once

#include "report/form_report.h"

#include <QDate>

namespace quvela::report {

// What differs between the forms of the four tools.
struct ApprovalFormVariant
{
    // Left edge of the workers' value column in both wage blocks and the right end of
    // the study-years caption cell in the first row: 143.9 mm, or 142.3 mm on the forms
    // of government staff.
    double workerValueX = 143.9;
    // The printed "级" after the old and new post grade.
    bool gradeSuffix = true;
    // Three wording lines with the print date below them, or four lines with the first
    // one indented and the date lower down.
    int wordingLines = 3;
};

inline constexpr ApprovalFormVariant kXjFormVariant{143.9, true, 3};
inline constexpr ApprovalFormVariant kZwFormVariant{143.9, true, 4};
inline constexpr ApprovalFormVariant kGovernmentFormVariant{142.3, false, 4};

// Fills the title band and the form band of a new report: title, ruled lines, captions,
// and the labels every form fills: the wording lines y1.. (empty), the print date
// "Lb_year" and the issuing office "lb_area". The margins in force (left 15 mm, top
// 18 mm) are left to the form, which sets them when its rules say.
void buildApprovalForm(FormReport &report, const ApprovalFormVariant &variant);

// A data label as the forms use them: "宋体" 10 pt, 3.7 mm high. Its text is kept inside
// the cell it stands in when the page is rendered (fitLabelsToCells), wherever the form
// moves it, so a form builds every label it fills with this.
ReportLabel dataLabel(std::string name, double x, double y, double width, Align align);

// The person's cells of the form's first two rows, as the roster holds them.
struct PersonCells
{
    GbkString name, sex, education;
    GbkString birth, workStart, serviceStart; // year-months "yyyymm" or "yyyy.mm"
};

// "l_xm", "l_xb", "l_whcd", and the three year-months as the forms print them
// (FormatYearMonth) in "l_csny", "l_gzny", "l_tsny".
void fillPersonCells(ReportBand &band, const PersonCells &person);

// The two labels under the wording, as every form fills them: the print date "Lb_year"
// ("2010 年 3 月 5 日") and the issuing office "lb_area".
void fillDateAndIssuer(ReportBand &band, const QDate &printDate, const GbkString &issuer);

} // namespace quvela::report
