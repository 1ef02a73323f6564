#include "widgets/spin_edit.h"

namespace quvela::widgets {

SpinEdit::SpinEdit(int minimum, int maximum, QWidget *parent)
    : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setAccelerated(true);
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

} // namespace quvela::widgets
