// Typing into a widget one key at a time, as a keyboard (or an input method for
// characters without a key) delivers it.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quvela::test {

inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace quvela::test
