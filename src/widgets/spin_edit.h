// A small whole-number spin box without a thick frame, for dialogs with many fields.
#pragma once

#include <QSpinBox>

namespace quvela::widgets {

class SpinEdit final : public QSpinBox
{
    Q_OBJECT

public:
    SpinEdit(int minimum, int maximum, QWidget *parent = nullptr);
};

} // namespace quvela::widgets
