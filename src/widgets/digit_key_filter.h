// Drops every typed character but the digits 0-9 and backspace. Editing keys without
// a character (arrows, Delete) and shortcuts (copy, paste) pass unchanged.
#pragma once

#include <QObject>

namespace quvela::widgets {

class DigitKeyFilter final : public QObject
{
    Q_OBJECT

public:
    explicit DigitKeyFilter(QObject *parent = nullptr);

    // Installs one filter owned by the widget on it.
    static void install(QObject *widget);

    // Whether a key press with this key and text gets through.
    static bool accepts(int key, const QString &text, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace quvela::widgets
