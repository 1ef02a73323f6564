// Row, year, month and width boxes hold digits only. A validator on the box judges the
// text whatever way it arrives (typed, composed by an input method, pasted, dropped),
// so the one rule holds for every way in; an edit that would put anything else in the
// box changes nothing, backspace and deletion stay free.
#pragma once

class QLineEdit;

namespace quvela::widgets {

void makeDigitsOnly(QLineEdit *box);

} // namespace quvela::widgets
