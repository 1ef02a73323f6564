#include "widgets/wait_form.h"

#include "widgets/wait_animation.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace quvela::widgets {

TWaitForm::TWaitForm()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("WaitForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    outer->addWidget(panel);

    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(3);
    m_animation = new WaitAnimation(panel);
    m_animation->setObjectName(QStringLiteral("Animate1"));
    m_animation->setFixedWidth(45);
    row->addWidget(m_animation);

    m_panelMessage = new QLabel(QStringLiteral("正在查找, 请稍候..."), panel);
    m_panelMessage->setObjectName(QStringLiteral("PanelMessage"));
    m_panelMessage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panelMessage->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(16);
    m_panelMessage->setFont(font);
    QPalette p = m_panelMessage->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    m_panelMessage->setPalette(p);
    row->addWidget(m_panelMessage, 1);
}

void TWaitForm::setMessage(const QString &message)
{
    m_panelMessage->setText(message);
}

QString TWaitForm::message() const
{
    return m_panelMessage->text();
}

TWaitForm *ShowWaitForm(const QString &message)
{
    auto *form = new TWaitForm;
    if (!message.isEmpty())
        form->setMessage(message);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        form->move(screen->geometry().center() - form->rect().center());
    form->show();
    form->raise();
    // The operation that follows keeps the event loop busy; paint the window now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return form;
}

} // namespace quvela::widgets
