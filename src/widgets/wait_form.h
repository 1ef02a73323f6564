// The wait window shown during long operations: borderless, on top, centred, with a
// looping clip and a message.
#pragma once

#include <QWidget>

class QLabel;

namespace quvela::widgets {

class WaitAnimation;

class TWaitForm final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 347;
    static constexpr int kHeight = 48;

    TWaitForm();

    void setMessage(const QString &message);
    QString message() const;
    WaitAnimation *animation() const { return m_animation; }

private:
    QLabel *m_panelMessage;
    WaitAnimation *m_animation;
};

// Creates a wait window with the message (the default text when empty), shows it
// centred on the screen and lets it paint. The caller deletes it; closing it by the
// system deletes it too.
TWaitForm *ShowWaitForm(const QString &message);

} // namespace quvela::widgets
