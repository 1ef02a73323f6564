#include "jb/jb_roster_forms.h"

#include "jb/jb_form.h"

namespace quvela::jb {

int JbRosterForms::flagColumn() const
{
    return kPrintFlagColumn;
}

report::RenderedPage JbRosterForms::formPage(const spreadsheet::SpreadsheetSession &sheet, int row)
{
    TJbPrnForm form(sheet, row, m_widthText, m_settings);
    return form.run();
}

} // namespace quvela::jb
