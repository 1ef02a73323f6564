#include "widgets/wait_animation.h"

#include <QPainter>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace quvela::widgets {

WaitAnimation::WaitAnimation(QWidget *parent)
    : QWidget(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(110);
    connect(m_timer, &QTimer::timeout, this, &WaitAnimation::advance);
}

void WaitAnimation::advance()
{
    m_frame = m_frame >= kLastPlayed ? kFirstPlayed : m_frame + 1;
    update();
}

void WaitAnimation::showEvent(QShowEvent *event)
{
    m_frame = kFirstPlayed;
    m_timer->start();
    QWidget::showEvent(event);
}

void WaitAnimation::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void WaitAnimation::paintFrame(QPainter &painter, const QRect &rect, int frame)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect).adjusted(3, 3, -3, -3);
    // The sheet being searched: a white page with text lines.
    const QRectF sheet(area.left() + area.width() * 0.12, area.top() + 2, area.width() * 0.7, area.height() - 4);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    painter.setPen(QPen(QColor(150, 150, 170), 1));
    for (double y = sheet.top() + 5; y < sheet.bottom() - 3; y += 5)
        painter.drawLine(QPointF(sheet.left() + 3, y), QPointF(sheet.right() - 3, y));

    // The magnifier moves once round the sheet over the clip.
    const double angle = 2 * std::numbers::pi * (frame - 1) / kFrameCount;
    const QPointF centre = sheet.center() + QPointF(std::cos(angle) * sheet.width() * 0.25,
                                                     std::sin(angle) * sheet.height() * 0.22);
    const double radius = std::min(area.width(), area.height()) * 0.22;
    painter.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(radius * 0.7, radius * 0.7), centre + QPointF(radius * 1.6, radius * 1.6));
    painter.setPen(QPen(QColor(30, 30, 30), 2));
    painter.setBrush(QColor(170, 210, 255, 150));
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void WaitAnimation::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFrame(painter, rect(), m_frame);
}

} // namespace quvela::widgets
