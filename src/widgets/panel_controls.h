// The controls of a tool window's bottom panel, made the one way every tool window makes
// them: placed by pixel as the window was designed, texts given as the design writes them
// (line breaks as "\r\n").
#pragma once

#include <initializer_list>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QWidget;

namespace quvela::widgets {

// name may be null: a caption nobody looks up.
QLabel *panelLabel(const char *name, const char *text, int left, int top, QWidget *parent);
QLineEdit *panelBox(const char *name, const QRect &geometry, QWidget *parent);
// hint may be null: no tooltip.
QPushButton *panelButton(const char *name, const char *text, const QRect &geometry, const char *hint,
                         QWidget *parent);
// "dtPrint", in the long date format of a Chinese desktop.
QDateEdit *printDateBox(const QRect &geometry, QWidget *parent);
// Tab moves through the controls in this order.
void setTabChain(std::initializer_list<QWidget *> order);

} // namespace quvela::widgets
