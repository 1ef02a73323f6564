#include "preview/zoom_spin_box.h"

#include <QLineEdit>
#include <QWheelEvent>

namespace quvela::preview {

ZoomSpinBox::ZoomSpinBox(QWidget *parent) : QSpinBox(parent)
{
    setRange(10, 300);
    setSingleStep(10);
    setValue(100);
    setWrapping(false);
    setAlignment(Qt::AlignRight);
    // Read-only text still lets the arrows step; the spin box's own read-only would not.
    lineEdit()->setReadOnly(true);
}

void ZoomSpinBox::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

} // namespace quvela::preview
