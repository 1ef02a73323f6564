// The JB tool's rules for the shared print driver: the flag in column 22 and one JB
// form per flagged row.
#pragma once

#include "common/settings_records.h"
#include "roster_tools/roster_report_run.h"

namespace quvela::jb {

class JbRosterForms final : public roster::RosterForms
{
public:
    // widthText: the text of the window's width box, read when the run starts. The
    // settings are the tool's record; they must outlive the run.
    explicit JbRosterForms(GbkString widthText, const TJbcs &settings = jbcs)
        : m_widthText(std::move(widthText)), m_settings(settings) {}
    JbRosterForms(GbkString widthText, const TJbcs &&settings) = delete;

    int flagColumn() const override;
    report::RenderedPage formPage(const spreadsheet::SpreadsheetSession &sheet, int row) override;

private:
    GbkString m_widthText;
    const TJbcs &m_settings;
};

} // namespace quvela::jb
