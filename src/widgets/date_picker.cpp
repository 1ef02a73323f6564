#include "widgets/date_picker.h"

namespace quvela::widgets {

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
}

bool DatePicker::focusNextPrevChild(bool next)
{
    // QDateEdit would walk its sections first; a clerk tabbing through the boxes would
    // be held three presses in this one.
    return QWidget::focusNextPrevChild(next); // NOLINT(bugprone-parent-virtual-call)
}

} // namespace quvela::widgets
