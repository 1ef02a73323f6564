#include "zw/zw_forms.h"

#include "zw/zw_fields.h"
#include "zw/zw_settings.h"

namespace quvela::zw {

ZwForms::ZwForms(TZwPrnForm::WidthText widthText, const TZwcs &settings)
    : m_widthText(std::move(widthText)), m_settings(settings)
{
}

void ZwForms::prepare()
{
    m_zwCol = LoadColumnMap(m_settings);
}

int ZwForms::flagColumn() const
{
    return m_zwCol.at(field::PrintFlag - 1);
}

report::RenderedPage ZwForms::formPage(const spreadsheet::SpreadsheetSession &sheet, int row)
{
    TZwPrnForm form(sheet, row, m_zwCol, m_widthText, m_settings);
    return form.run();
}

} // namespace quvela::zw
