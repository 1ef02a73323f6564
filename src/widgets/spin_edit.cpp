#include "widgets/spin_edit.h"

namespace quvela::widgets {

SpinEdit::SpinEdit(int minimum, int maximum, QWidget *parent)
    : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setAccelerated(true);
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setStyleSheet(QStringLiteral("QSpinBox { border: 1px solid palette(mid); padding: 0 1px; }"));
}

} // namespace quvela::widgets
