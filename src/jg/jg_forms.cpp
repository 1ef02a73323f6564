#include "jg/jg_forms.h"

namespace quvela::jg {

JgForms::JgForms(TJgPrnForm::WidthText widthText, const TJgcs &settings)
    : m_widthText(std::move(widthText)), m_settings(settings)
{
}

report::RenderedPage JgForms::formPage(const spreadsheet::SpreadsheetSession &sheet, int row)
{
    TJgPrnForm form(sheet, row, m_widthText, m_settings);
    return form.run();
}

} // namespace quvela::jg
