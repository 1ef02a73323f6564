// The JG approval form: one report per flagged roster row, filled from that row's cells.
#pragma once

#include "common/settings_records.h"
#include "report/form_report.h"

#include <functional>

namespace quvela::spreadsheet {
class SpreadsheetSession;
}

namespace quvela::jg {

// The worksheet columns of the JG roster (1-based).
namespace column {
inline constexpr int Name = 2, Sex = 3, Birth = 4, WorkStart = 5, ServiceStart = 6, Post = 7,
                     NewPostSince = 8, OldTotal = 9, OldPost = 10, OldAmount = 11, OldStep = 12,
                     OldRankWage = 13, NewTotal = 16, NewPost = 17, NewAmount = 18, NewStep = 19,
                     NewRankWage = 20, Increase = 23, PrintFlag = 26, Education = 27, OldPostSince = 28;
}

// Left edge of the amounts of a worker, inside the workers' value column (142.3 to 158.8
// mm on this form); 544 pixels of the 96-per-inch design.
inline constexpr double kWorkerAmountX = 143.9;

// One instance per form. The session, the settings and whatever the width callback reads
// must outlive it.
class TJgPrnForm
{
public:
    // The current text of the window's wording-width box, asked at every fill.
    using WidthText = std::function<GbkString()>;

    TJgPrnForm(const spreadsheet::SpreadsheetSession &sheet, int currentRow, WidthText widthText,
               const TJgcs &settings = jgcs);
    TJgPrnForm(const spreadsheet::SpreadsheetSession &, int, WidthText, const TJgcs &&) = delete;
    // The report's fill handler points back at this form.
    TJgPrnForm(const TJgPrnForm &) = delete;
    TJgPrnForm &operator=(const TJgPrnForm &) = delete;

    report::FormReport &qrJGGZ() { return m_report; }

    // One run of the report: fill, render, fill again; the page. Throws ConversionError
    // for an amount cell that is no number, an empty or non-numeric width, or a new-post
    // date whose year or month is no number; QuvelaError for a row outside the sheet.
    report::RenderedPage run() { return m_report.run(); }

private:
    void FormCreate();
    void qrJGGZNeedData(bool &moreData);

    const spreadsheet::SpreadsheetSession &m_sheet;
    int m_row;
    WidthText m_widthText;
    const TJgcs &m_settings;
    report::FormReport m_report;
};

} // namespace quvela::jg
