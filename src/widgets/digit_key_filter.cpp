#include "widgets/digit_key_filter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace quvela::widgets {

DigitKeyFilter::DigitKeyFilter(QObject *parent)
    : QObject(parent)
{
}

void DigitKeyFilter::install(QObject *widget)
{
    widget->installEventFilter(new DigitKeyFilter(widget));
}

bool DigitKeyFilter::accepts(int key, const QString &text, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Backspace:
    // Focus moves and the dialog keys belong to the window, not to the box's text.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    if (text.isEmpty())
        return true;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!accepts(key->key(), key->text(), key->modifiers()))
            return true;
    }
    if (event->type() == QEvent::InputMethod) {
        // Characters composed by an input method are typed characters too.
        const auto *input = static_cast<QInputMethodEvent *>(event);
        if (!accepts(0, input->commitString(), Qt::NoModifier))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quvela::widgets
