#include "widgets/gradient_button.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quvela::widgets {

GradientButton::GradientButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
    , m_face(palette().color(QPalette::Button))
    , m_border(0, 60, 116)
{
    setAttribute(Qt::WA_Hover);
}

void GradientButton::setFaceColor(const QColor &color)
{
    m_face = color;
    update();
}

void GradientButton::setBorderColor(const QColor &color)
{
    m_border = color;
    update();
}

void GradientButton::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::ButtonText, color);
    setPalette(p);
}

QColor GradientButton::textColor() const
{
    return palette().color(QPalette::ButtonText);
}

void GradientButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void GradientButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

void GradientButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, 3, 3);

    const bool down = isDown() || isChecked();
    QColor top = m_face.lighter(down ? 100 : 135);
    QColor bottom = down ? m_face.lighter(120) : m_face;
    if (m_hovered && !down)
        top = top.lighter(108);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, down ? bottom : top);
    gradient.setColorAt(1, down ? top.darker(105) : bottom);
    p.fillPath(path, gradient);

    p.setPen(QPen(isEnabled() ? m_border : m_border.lighter(170), 1));
    p.drawPath(path);
    if (hasFocus()) {
        QPen focusPen(m_border, 1, Qt::DotLine);
        p.setPen(focusPen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
    }

    p.setFont(font());
    p.setPen(isEnabled() ? textColor() : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QRect textRect = rect().translated(down ? 1 : 0, down ? 1 : 0);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace quvela::widgets
