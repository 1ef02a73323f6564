// A small whole-number spin box for dialogs with many fields; the style draws its frame
// and arrows, which a style sheet would squash at this height.
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
