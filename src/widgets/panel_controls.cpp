#include "widgets/panel_controls.h"

#include "widgets/date_picker.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quvela::widgets {
namespace {

QString designText(const char *text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QLabel *panelLabel(const char *name, const char *text, int left, int top, QWidget *parent)
{
    auto *label = new QLabel(designText(text), parent);
    if (name)
        label->setObjectName(QString::fromUtf8(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit *panelBox(const char *name, const QRect &geometry, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(geometry);
    return edit;
}

QPushButton *panelButton(const char *name, const char *text, const QRect &geometry, const char *hint,
                         QWidget *parent)
{
    auto *b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    if (hint)
        b->setToolTip(designText(hint));
    return b;
}

QDateEdit *printDateBox(const QRect &geometry, QWidget *parent)
{
    auto *date = new DatePicker(parent);
    date->setObjectName(QStringLiteral("dtPrint"));
    date->setGeometry(geometry);
    date->setDisplayFormat(QStringLiteral("yyyy'年'M'月'd'日'"));
    return date;
}

void setTabChain(std::initializer_list<QWidget *> order)
{
    for (auto it = order.begin(); it != order.end() && it + 1 != order.end(); ++it)
        QWidget::setTabOrder(*it, *(it + 1));
}

} // namespace quvela::widgets
