#include "widgets/digits_only.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace quvela::widgets {

void makeDigitsOnly(QLineEdit *box)
{
    // ASCII digits only: a full-width digit is no row number for the conversions behind
    // the box.
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    box->setValidator(new QRegularExpressionValidator(digits, box));
}

} // namespace quvela::widgets
